#include "StandInCredit.h"

#include <QCryptographicHash>
#include <QRandomGenerator>

namespace {

struct CreditorTemplate {
    const char* name;
    const char* kind;
    int low;
    int high;
};

const CreditorTemplate creditors[] = {
    {"HARBOR EXAMPLE BANK CARD", "Revolving", 300, 6000},
    {"MAPLE STREET AUTO FINANCE", "Installment", 4000, 24000},
    {"NORTHWIND SAMPLE MORTGAGE", "Mortgage", 90000, 320000},
    {"BLUE RIVER STORE CARD", "Revolving", 100, 2500},
    {"CEDAR STUDENT LOAN SERVICING", "Installment", 2000, 30000},
    {"SUMMIT EXAMPLE CREDIT UNION", "Revolving", 200, 9000},
};

quint32 seedFor(const Report& report)
{
    const QByteArray digest = QCryptographicHash::hash(report.borrower.ssn.toLatin1(), QCryptographicHash::Sha256);
    return quint32(quint8(digest[0])) << 24 | quint32(quint8(digest[1])) << 16 | quint32(quint8(digest[2])) << 8
        | quint32(quint8(digest[3]));
}

} // namespace

StandInCredit::StandInCredit(const Report& report)
{
    const quint32 seed = seedFor(report);
    makeScores(report, seed);
    makeTradelines(report, seed);
}

QString StandInCredit::bureauName(Bureau bureau)
{
    switch (bureau) {
    case Experian: return QStringLiteral("Experian");
    case Equifax: return QStringLiteral("Equifax");
    case TransUnion: return QStringLiteral("TransUnion");
    default: return QString();
    }
}

void StandInCredit::makeScores(const Report& report, quint32 seed)
{
    QRandomGenerator random(seed);
    const int base = 580 + random.bounded(200);
    for (int b = 0; b < BureauCount; ++b) {
        const int spread = random.bounded(-15, 16);
        if (report.finalStatus[b] != StatusNotOrdered)
            m_scores.append({Bureau(b), qBound(300, base + spread, 850)});
    }
}

void StandInCredit::makeTradelines(const Report& report, quint32 seed)
{
    QRandomGenerator random(seed ^ 0x5eed5eedu);
    const int count = 3 + random.bounded(3);
    const int year = report.requested.isValid() ? report.requested.year() : 2024;
    for (int i = 0; i < count; ++i) {
        const CreditorTemplate& c = creditors[random.bounded(int(std::size(creditors)))];
        Tradeline t;
        t.creditor = QString::fromLatin1(c.name);
        t.kind = QString::fromLatin1(c.kind);
        t.accountNumber = QStringLiteral("XXXX%1").arg(random.bounded(10000), 4, 10, QLatin1Char('0'));
        t.limit = c.low + random.bounded(c.high - c.low);
        t.balance = random.bounded(t.limit + 1);
        t.payment = t.kind == QLatin1String("Revolving") ? qMax(25, t.balance / 40) : qMax(50, t.limit / 60);
        t.opened = QStringLiteral("%1/%2")
                       .arg(1 + random.bounded(12), 2, 10, QLatin1Char('0'))
                       .arg(year - 1 - random.bounded(12));
        t.owner = report.joint ? QStringLiteral("BCJ").mid(random.bounded(3), 1) : QStringLiteral("B");
        t.status = random.bounded(10) == 0 ? QStringLiteral("30 DAYS LATE") : QStringLiteral("CURRENT");
        m_tradelines.append(t);
    }
}
