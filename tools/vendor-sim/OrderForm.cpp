#include "OrderForm.h"

#include "FormQuery.h"

#include <QDate>

namespace {

QString digitsOnly(const QString& text)
{
    QString digits;
    for (QChar c : text) {
        if (c.isDigit())
            digits += c;
    }
    return digits;
}

bool isTrue(const QString& value)
{
    return value.trimmed().compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0;
}

} // namespace

OrderForm::OrderForm(const FormQuery& query)
{
    keywords = query.value(QStringLiteral("Keywords")).trimmed().toUpper();
    reference = query.value(QStringLiteral("Reference")).trimmed();
    borrower = readApplicant(query, QString());
    joint = isTrue(query.value(QStringLiteral("Joint")));
    if (joint)
        coBorrower = readApplicant(query, QStringLiteral("Co"));
    address = query.value(QStringLiteral("CurAddress")).trimmed();
    city = query.value(QStringLiteral("CurCity")).trimmed();
    state = query.value(QStringLiteral("CurState")).trimmed();
    zip = query.value(QStringLiteral("CurZip")).trimmed();
    bureaus[Experian] = isTrue(query.value(QStringLiteral("EXPERIAN")));
    bureaus[Equifax] = isTrue(query.value(QStringLiteral("EQUIFAX")));
    bureaus[TransUnion] = isTrue(query.value(QStringLiteral("TRANSUNION")));
}

Applicant OrderForm::readApplicant(const FormQuery& query, const QString& prefix)
{
    Applicant p;
    p.firstName = query.value(prefix + QStringLiteral("FirstName")).trimmed();
    p.lastName = query.value(prefix + QStringLiteral("LastName")).trimmed();
    p.middleName = query.value(prefix + QStringLiteral("MiddleInitial")).trimmed();
    p.suffix = query.value(prefix + QStringLiteral("Suffix")).trimmed();
    p.ssn = digitsOnly(query.value(prefix + QStringLiteral("SSN")));
    p.dob = query.value(prefix + QStringLiteral("DOB")).trimmed();
    return p;
}

QString OrderForm::applicantProblem(const Applicant& p, const QString& who)
{
    if (p.firstName.isEmpty() || p.lastName.isEmpty())
        return QStringLiteral("The %1's first and last name are required.").arg(who);
    if (p.ssn.size() != 9)
        return QStringLiteral("The %1's social security number must have 9 digits.").arg(who);
    if (!p.dob.isEmpty() && !QDate::fromString(p.dob, QStringLiteral("MM/dd/yyyy")).isValid())
        return QStringLiteral("The %1's date of birth is not a date (MM/DD/YYYY).").arg(who);
    return QString();
}

QString OrderForm::problem() const
{
    if (!keywords.isEmpty() && keywords != QLatin1String("REQUEST") && keywords != QLatin1String("UPGRADE"))
        return QStringLiteral("Unknown order keyword %1.").arg(keywords);
    QString p = applicantProblem(borrower, QStringLiteral("borrower"));
    if (p.isEmpty() && joint)
        p = applicantProblem(coBorrower, QStringLiteral("co-borrower"));
    if (!p.isEmpty())
        return p;
    if (!bureaus[Experian] && !bureaus[Equifax] && !bureaus[TransUnion])
        return QStringLiteral("At least one bureau must be selected.");
    return QString();
}

QString OrderForm::key() const
{
    // Every field of the block counts, as at the vendor: an order that differs in any of them (a
    // typo mended, a bureau more, another kind) is a different order.
    const auto person = [](const Applicant& p) {
        return QStringList{p.ssn, p.firstName, p.lastName, p.middleName, p.suffix, p.dob}.join(QLatin1Char('/'));
    };
    QString bureauFlags;
    for (bool b : bureaus)
        bureauFlags += b ? QLatin1Char('1') : QLatin1Char('0');
    return QStringList{keywords, reference, person(borrower), joint ? person(coBorrower) : QString(), address, city,
                       state,    zip,       bureauFlags}
        .join(QLatin1Char('|'));
}
