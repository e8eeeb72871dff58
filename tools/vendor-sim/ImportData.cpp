#include "ImportData.h"

#include "StandInCredit.h"
#include "VendorRecords.h"

#include <QStringList>

namespace {

QStringList applicantFields(const QString& kind, const Applicant& p)
{
    return {kind, p.lastName, p.firstName, p.middleName, p.suffix, p.ssn, p.dob};
}

} // namespace

QString ImportData::render(const Report& report, const Request& request)
{
    const StandInCredit credit(report);
    QString out;
    out += line({QStringLiteral("QUILL-LIABILITIES"), QStringLiteral("1")});
    out += line({QStringLiteral("FILE"), request.borrowerFile});
    out += line({QStringLiteral("REPORT"), report.id});
    out += line({QStringLiteral("REQUESTED"), report.requested.toString(QStringLiteral("MM/dd/yyyy"))});
    out += line({QStringLiteral("MESSAGE"), request.updateMessage});
    out += line({QStringLiteral("REFERENCE"), request.reference});
    out += line(applicantFields(QStringLiteral("BORROWER"), report.borrower));
    if (report.joint)
        out += line(applicantFields(QStringLiteral("COBORROWER"), report.coBorrower));
    for (const auto& s : credit.scores())
        out += line({QStringLiteral("SCORE"), StandInCredit::bureauName(s.bureau), QString::number(s.value)});
    for (const auto& t : credit.tradelines()) {
        out +=
            line({QStringLiteral("LIABILITY"), t.owner, t.creditor, t.accountNumber, t.kind, QString::number(t.balance),
                  QString::number(t.payment), QString::number(t.limit), t.opened, t.status});
    }
    out += line({QStringLiteral("END"), QString::number(credit.tradelines().size())});
    return out;
}

QString ImportData::line(const QStringList& fields)
{
    QStringList cleaned;
    for (const QString& f : fields)
        cleaned.append(clean(f));
    return cleaned.join(QLatin1Char('\t')) + QStringLiteral("\r\n");
}

// A value from the request must not add fields or records to the file.
QString ImportData::clean(const QString& value)
{
    QString v = value;
    v.replace(QLatin1Char('\t'), QLatin1Char(' '));
    v.replace(QLatin1Char('\r'), QLatin1Char(' '));
    v.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return v;
}
