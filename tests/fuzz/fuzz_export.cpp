// Fuzzes the export file reader and the two name splitters. Each input is written as EXPORT.DAT
// in a private temporary folder and read; the loan file path (field 16) is confined to a folder
// there first, so the PDF clean-up after a successful read only touches the PDFs seeded there.
// Properties: a read inquiry is complete and a joint request has its co-borrower; a failure has
// a description; a split never grows the name, leaves no blanks or yields more than its part.
//
//   build-fuzz/bin/fuzz_export -max_total_time=660 tests/fuzz/corpus

#include "FuzzSupport.h"
#include "host/clsQuill.h"
#include "platform/AppError.h"
#include "platform/TextFile.h"

#include <QByteArrayList>

#include <cstdint>

namespace {

QByteArray confineLoanPath(const QByteArray& input)
{
    const qsizetype lineEnd = input.indexOf('\n');
    QByteArrayList fields = (lineEnd < 0 ? input : input.left(lineEnd)).split('\t');
    if (fields.size() < 17)
        return input;
    fields[16] = fuzz::Root() + "/loans\\" + fields[16].replace('/', '_').replace('\\', '_');
    return fields.join('\t') + (lineEnd < 0 ? QByteArray() : input.mid(lineEnd));
}

void checkSplitters(const QString& text)
{
    QString name = text, first = text;
    const QString suffix = clsQuill::SplitSuffix(name), middle = clsQuill::SplitMiddle(first);
    fuzz::Require(suffix.size() <= 3 && !name.startsWith(' ') && !name.endsWith(' ')
                      && name.size() + suffix.size() <= text.size(),
                  "suffix split grew the name or left blanks", name + "|" + suffix);
    fuzz::Require(middle.size() <= 2 && (middle.isEmpty() || first.size() + middle.size() < text.size()),
                  "middle split grew the name", first + "|" + middle);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = fuzz::Bytes(data, size);
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
        fuzz::Require(inquiry->Borrower() && inquiry->CreditRequest(), "inquiry incomplete", file.fileName());
        fuzz::Require((inquiry->CreditRequest()->RequestType() == "Joint") == bool(inquiry->CoBorrower()),
                      "request type disagrees with the co-borrower", inquiry->CreditRequest()->RequestType());
    } catch (const AppError& error) {
        fuzz::Require(!error.Description.isEmpty(), "failure without a description", QString::number(error.Number));
    }
    fuzz::TrimLogs();
    return 0;
}
