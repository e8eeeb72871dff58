#include "ui/ordering/PullRequestBlock.h"

#include "service/CharRoutines.h"
#include "service/ParamBlock.h"
#include "ui/ordering/frmMain.h"
#include "ui/ordering/frmPullReport.h"

#include <QLineEdit>

namespace {

QString boxText(const QLineEdit* box)
{
    return box->text().trimmed();
}

// The birth date as the order sends it; a text that is not a date goes as the empty text
// (the main window's checks have refused it before an order starts).
QString dateOf(const QLineEdit* box)
{
    bool ok = true;
    return frmPullReport::GetDate(boxText(box), ok);
}

const QString kTrue = QStringLiteral("TRUE");

} // namespace

QString PullRequestBlock::Keywords(int pullType)
{
    if (pullType == PullAddBureau)
        return QStringLiteral("UPGRADE");
    if (pullType == PullRepull)
        return QStringLiteral("REQUEST");
    return QString();
}

QString PullRequestBlock::text(const frmMain& w) const
{
    ParamBlock block(QStringLiteral("REQUEST"));
    block.add(QStringLiteral("Keywords"), Keywords(pullType))
        .add(QStringLiteral("Reference"), boxText(w.lblReference()))
        .add(QStringLiteral("FirstName"), boxText(w.lblBorFirst()))
        .add(QStringLiteral("LastName"), boxText(w.lblBorLast()))
        .add(QStringLiteral("MiddleInitial"), boxText(w.lblBorMi()))
        .add(QStringLiteral("SSN"), DigitsOnly(boxText(w.lblBorSSN())))
        .add(QStringLiteral("DOB"), dateOf(w.lblBorDOB()))
        .add(QStringLiteral("CurAddress"), boxText(w.lblCurAddr()))
        .add(QStringLiteral("CurCity"), boxText(w.lblCurCity()))
        .add(QStringLiteral("CurState"), boxText(w.lblCurState()))
        .add(QStringLiteral("CurZip"), boxText(w.lblCurZip()))
        .add(QStringLiteral("Suffix"), boxText(w.lblBorSufx()));
    if (joint) {
        block.add(QStringLiteral("Joint"), kTrue)
            .add(QStringLiteral("CoFirstName"), boxText(w.lblCoFirst()))
            .add(QStringLiteral("CoLastName"), boxText(w.lblCoLast()))
            .add(QStringLiteral("CoMiddleInitial"), boxText(w.lblCoMi()))
            .add(QStringLiteral("CoSSN"), DigitsOnly(boxText(w.lblCoSSN())))
            .add(QStringLiteral("CoDOB"), dateOf(w.lblCoDOB()))
            .add(QStringLiteral("CoSuffix"), boxText(w.lblCoSufx()));
    } else {
        block.add(QStringLiteral("Joint"), QStringLiteral("FALSE"));
    }
    if (equifax)
        block.add(QStringLiteral("EQUIFAX"), kTrue);
    if (experian)
        block.add(QStringLiteral("EXPERIAN"), kTrue);
    if (transUnion)
        block.add(QStringLiteral("TRANSUNION"), kTrue);
    return block.text();
}
