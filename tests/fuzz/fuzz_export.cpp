// Fuzzes the export file reader and the two name splitters.
//
// Each input is written as EXPORT.DAT in a private temporary folder and read. The loan file
// path (field 16) is confined to a folder inside the temporary folder before the file is
// written, so the PDF clean-up that follows every successful read can only touch files there;
// a few PDF names are seeded in that folder for it to work on.
//
//   build-fuzz/bin/fuzz_export -max_total_time=660 tests/fuzz/corpus

#include "host/clsQuill.h"
#include "platform/AppError.h"
#include "platform/MsgBox.h"
#include "platform/Seam.h"
#include "platform/TextFile.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QDir>
#include <QFile>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

class SilentBoxes : public MessageBoxes
{
public:
    int show(const QString&, int, const QString&) override { return vbOK; }
};

QByteArray g_root;

[[noreturn]] void broken(const char* what, const QString& detail)
{
    std::fprintf(stderr, "%s: %s\n", what, qPrintable(detail));
    std::abort();
}

// The field 16 of the first line, with every separator made harmless and put under our folder.
QByteArray confineLoanPath(const QByteArray& input)
{
    const qsizetype lineEnd = input.indexOf('\n');
    const QByteArray line = lineEnd < 0 ? input : input.left(lineEnd);
    QByteArrayList fields = line.split('\t');
    if (fields.size() < 17)
        return input;
    QByteArray path = fields[16];
    path.replace('/', '_').replace('\\', '_');
    fields[16] = g_root + "/loans\\" + path;
    return fields.join('\t') + (lineEnd < 0 ? QByteArray() : input.mid(lineEnd));
}

void seedPdfs()
{
    for (const char* name : {"A.pdf", "A1.pdf", "A12.pdf", "AB.pdf", "a.PDF"}) {
        QFile file(QString::fromLocal8Bit(g_root + "/loans/" + name));
        if (!file.exists() && file.open(QIODevice::WriteOnly))
            file.write("%PDF-1.4\n");
    }
}

void checkSplitters(const QString& text)
{
    QString name = text;
    const QString suffix = clsQuill::SplitSuffix(name);
    if (suffix.size() > 3)
        broken("suffix longer than 3", suffix);
    if (name.endsWith(QLatin1Char(' ')) || name.startsWith(QLatin1Char(' ')))
        broken("last name not trimmed", name);
    if (name.size() + suffix.size() > text.size())
        broken("last name grew", name);

    QString first = text;
    const QString middle = clsQuill::SplitMiddle(first);
    if (middle.size() > 2)
        broken("middle initial longer than 2", middle);
    if (!middle.isEmpty() && first.size() + middle.size() >= text.size())
        broken("middle split lost no blank", first);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    char pattern[] = "/tmp/quill-fuzz-XXXXXX";
    if (!mkdtemp(pattern))
        return 1;
    g_root = pattern;
    QDir().mkpath(QString::fromLocal8Bit(g_root + "/home"));
    QDir().mkpath(QString::fromLocal8Bit(g_root + "/loans"));
    qputenv("QUILLCLIENT_HOME", g_root + "/home");
    std::atexit([] { QDir(QString::fromLocal8Bit(g_root)).removeRecursively(); });
    static SilentBoxes boxes;
    Seam<MessageBoxes>::set(&boxes);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static unsigned long runs = 0;
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));

    checkSplitters(TextFile::Decode(input.left(200)));

    const QString exportFile = QString::fromLocal8Bit(g_root + "/EXPORT.DAT");
    QFile file(exportFile);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(confineLoanPath(input));
    file.close();
    seedPdfs();

    try {
        clsQuill quill;
        const auto inquiry = quill.ReadQuillExportFile(exportFile);
        if (!inquiry->Borrower() || !inquiry->CreditRequest())
            broken("inquiry incomplete", exportFile);
        const QString type = inquiry->CreditRequest()->RequestType();
        if ((type == QLatin1String("Joint")) != bool(inquiry->CoBorrower()))
            broken("request type disagrees with the co-borrower", type);
    } catch (const AppError& error) {
        if (error.Description.isEmpty())
            broken("failure without a description", QString::number(error.Number));
    }

    // The logs grow with every refused birth date and clean-up problem.
    if (++runs % 20000 == 0) {
        QFile::remove(QString::fromLocal8Bit(g_root + "/home/Client.log"));
        QFile::remove(QString::fromLocal8Bit(g_root + "/home/errors.log"));
    }
    return 0;
}
