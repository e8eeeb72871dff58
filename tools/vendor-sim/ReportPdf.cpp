#include "ReportPdf.h"

#include "StandInCredit.h"
#include "VendorRecords.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace {

QString fullName(const Applicant& p)
{
    QStringList parts{p.firstName, p.middleName, p.lastName, p.suffix};
    parts.removeAll(QString());
    return parts.join(QLatin1Char(' '));
}

QString maskedSsn(const QString& ssn)
{
    return QStringLiteral("XXX-XX-") + ssn.right(4);
}

QString statusText(int code)
{
    switch (code) {
    case StatusNotOrdered: return QStringLiteral("not ordered");
    case StatusInProgress: return QStringLiteral("in progress");
    case StatusComplete: return QStringLiteral("complete");
    default: return QStringLiteral("code %1").arg(code);
    }
}

} // namespace

ReportPdf::ReportPdf(QPainter& painter, int pageWidth) : m_painter(painter), m_width(pageWidth)
{
}

QByteArray ReportPdf::render(const Report& report)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageSize(QPageSize(QPageSize::Letter));
    writer.setPageMargins(QMarginsF(18, 18, 18, 18), QPageLayout::Millimeter);
    writer.setResolution(300);
    writer.setTitle(QStringLiteral("Merged credit report %1").arg(report.id));
    writer.setCreator(QStringLiteral("quill-vendor-sim"));
    QPainter painter(&writer);
    painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    ReportPdf page(painter, writer.width());

    page.heading(QStringLiteral("Merged Credit Report (stand-in vendor)"));
    page.text(QStringLiteral("Report ID: %1").arg(report.id));
    page.text(QStringLiteral("Requested: %1    Reference: %2")
                  .arg(report.requested.toString(QStringLiteral("MM/dd/yyyy")), report.reference));
    page.gap();
    page.heading(QStringLiteral("Applicants"));
    page.text(QStringLiteral("Borrower: %1   SSN %2").arg(fullName(report.borrower), maskedSsn(report.borrower.ssn)));
    if (report.joint)
        page.text(QStringLiteral("Co-borrower: %1   SSN %2")
                      .arg(fullName(report.coBorrower), maskedSsn(report.coBorrower.ssn)));
    page.text(QStringLiteral("Address: %1, %2 %3 %4").arg(report.address, report.city, report.state, report.zip));
    page.gap();

    const StandInCredit credit(report);
    page.heading(QStringLiteral("Bureaus"));
    const QList<int> bureauCols{30, 30, 40};
    page.row({QStringLiteral("Bureau"), QStringLiteral("Status"), QStringLiteral("Score")}, bureauCols, true);
    for (int b = 0; b < BureauCount; ++b) {
        QString score = QStringLiteral("-");
        for (const auto& s : credit.scores()) {
            if (s.bureau == b)
                score = QString::number(s.value);
        }
        page.row({StandInCredit::bureauName(Bureau(b)), statusText(report.finalStatus[b]), score}, bureauCols);
    }
    page.gap();
    page.heading(QStringLiteral("Tradelines"));
    const QList<int> tradeCols{36, 12, 13, 10, 9, 6, 14};
    page.row({QStringLiteral("Creditor"), QStringLiteral("Account"), QStringLiteral("Type"), QStringLiteral("Balance"),
              QStringLiteral("Payment"), QStringLiteral("ECOA"), QStringLiteral("Status")},
             tradeCols, true);
    for (const auto& t : credit.tradelines()) {
        page.row({t.creditor, t.accountNumber, t.kind, QString::number(t.balance), QString::number(t.payment), t.owner,
                  t.status},
                 tradeCols);
    }
    painter.end();
    return buffer.data();
}

void ReportPdf::heading(const QString& text)
{
    QFont font = m_painter.font();
    font.setBold(true);
    font.setPointSize(13);
    m_painter.save();
    m_painter.setFont(font);
    m_y += QFontMetrics(font, m_painter.device()).height();
    m_painter.drawText(0, m_y, text);
    m_painter.restore();
    m_y += QFontMetrics(m_painter.font(), m_painter.device()).height() / 3;
}

// Cells take the given percentages of the page width.
void ReportPdf::row(const QStringList& cells, const QList<int>& widths, bool bold)
{
    QFont font = m_painter.font();
    font.setBold(bold);
    m_painter.save();
    m_painter.setFont(font);
    const QFontMetrics metrics(font, m_painter.device());
    m_y += metrics.height();
    int x = 0;
    for (qsizetype i = 0; i < cells.size() && i < widths.size(); ++i) {
        const int w = m_width * widths[i] / 100;
        m_painter.drawText(x, m_y, metrics.elidedText(cells[i], Qt::ElideRight, w - 20));
        x += w;
    }
    m_painter.restore();
}

void ReportPdf::text(const QString& text)
{
    m_y += QFontMetrics(m_painter.font(), m_painter.device()).height();
    m_painter.drawText(0, m_y, text);
}

void ReportPdf::gap()
{
    m_y += QFontMetrics(m_painter.font(), m_painter.device()).height() / 2;
}
