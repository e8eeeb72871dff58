// Fuzzes the export file reader and the two name splitters.
//
// Each input is written as EXPORT.DAT in a private temporary folder and read. The loan file
// path (field 16) is confined to a folder inside the temporary folder before the file is
// written, so the PDF clean-up that follows every successful read can only touch files there;
// a few PDF names are seeded in that folder for it to work on.
//
//   build-fuzz/bin/fuzz_export -max_total_time=660 tests/fuzz/corpus

#include "FuzzSupport.h"
#include "host/clsQuill.h"
#include "platform/AppError.h"
#include "platform/TextFile.h"

#include <QByteArrayList>

#include <cstdint>

namespace {

// The field 16 of the first line, with every separator made harmless and put under our folder.
QByteArray confineLoanPath(const QByteArray& input)
{
    const qsizetype lineEnd = input.indexOf('\n');
    QByteArrayList fields = (lineEnd < 0 ? input : input.left(lineEnd)).split('\t');
    if (fields.size() < 17)
        return input;
    fields[16] = fuzz::Root() + "/loans\\" + fields[16].replace('/', '_').replace('\\', '_');
    return fields.join('\t') + (lineEnd < 0 ? QByteArray() : input.mid(lineEnd));
}

// Bounded output: a split never grows the name and never yields more than the part's length.
void checkSplitters(const QString& text)
{
    QString name = text;
    const QString suffix = clsQuill::SplitSuffix(name);
    if (suffix.size() > 3 || name.startsWith(QLatin1Char(' ')) || name.endsWith(QLatin1Char(' '))
        || name.size() + suffix.size() > text.size())
        fuzz::Broken("suffix split grew the name or left blanks", name + QStringLiteral("|") + suffix);
    QString first = text;
    const QString middle = clsQuill::SplitMiddle(first);
    if (middle.size() > 2 || (!middle.isEmpty() && first.size() + middle.size() >= text.size()))
        fuzz::Broken("middle split grew the name", first + QStringLiteral("|") + middle);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    return fuzz::Setup() && QDir().mkpath(fuzz::Path("loans")) ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static unsigned long runs = 0;
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    checkSplitters(TextFile::Decode(input.left(200)));

    QFile file(fuzz::Path("EXPORT.DAT"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(confineLoanPath(input));
    file.close();
    for (const char* name : {"A.pdf", "A1.pdf", "A12.pdf", "AB.pdf", "a.PDF"}) {
        QFile pdf(fuzz::Path("loans/") + QLatin1String(name));
        if (!pdf.exists() && pdf.open(QIODevice::WriteOnly))
            pdf.write("%PDF-1.4\n");
    }
    try {
        const auto inquiry = clsQuill().ReadQuillExportFile(file.fileName());
        if (!inquiry->Borrower() || !inquiry->CreditRequest())
            fuzz::Broken("inquiry incomplete", file.fileName());
        if ((inquiry->CreditRequest()->RequestType() == QLatin1String("Joint")) != bool(inquiry->CoBorrower()))
            fuzz::Broken("request type disagrees with the co-borrower", inquiry->CreditRequest()->RequestType());
    } catch (const AppError& error) {
        if (error.Description.isEmpty())
            fuzz::Broken("failure without a description", QString::number(error.Number));
    }
    fuzz::TrimLogs(++runs);
    return 0;
}
