#include "ui/ordering/PullRequestBlock.h"

#include "core/CharRoutines.h"
#include "host/basDates.h"
#include "service/ParamBlock.h"
#include "ui/ordering/ILoanScreen.h"
#include "ui/ordering/LoanSession.h"

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
    return GetDate(boxText(box), ok);
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

QString PullRequestBlock::text(const ILoanScreen& w) const
{
    ParamBlock block(QStringLiteral("REQUEST"));
    block.add(QStringLiteral("Keywords"), Keywords(pullType))
        .add(QStringLiteral("Reference"), boxText(&w.Box(LoanBox::lblReference)))
        .add(QStringLiteral("FirstName"), boxText(&w.Box(LoanBox::lblBorFirst)))
        .add(QStringLiteral("LastName"), boxText(&w.Box(LoanBox::lblBorLast)))
        .add(QStringLiteral("MiddleInitial"), boxText(&w.Box(LoanBox::lblBorMi)))
        .add(QStringLiteral("SSN"), DigitsOnly(boxText(&w.Box(LoanBox::lblBorSSN))))
        .add(QStringLiteral("DOB"), dateOf(&w.Box(LoanBox::lblBorDOB)))
        .add(QStringLiteral("CurAddress"), boxText(&w.Box(LoanBox::lblCurAddr)))
        .add(QStringLiteral("CurCity"), boxText(&w.Box(LoanBox::lblCurCity)))
        .add(QStringLiteral("CurState"), boxText(&w.Box(LoanBox::lblCurState)))
        .add(QStringLiteral("CurZip"), boxText(&w.Box(LoanBox::lblCurZip)))
        .add(QStringLiteral("Suffix"), boxText(&w.Box(LoanBox::lblBorSufx)));
    if (joint) {
        block.add(QStringLiteral("Joint"), kTrue)
            .add(QStringLiteral("CoFirstName"), boxText(&w.Box(LoanBox::lblCoFirst)))
            .add(QStringLiteral("CoLastName"), boxText(&w.Box(LoanBox::lblCoLast)))
            .add(QStringLiteral("CoMiddleInitial"), boxText(&w.Box(LoanBox::lblCoMi)))
            .add(QStringLiteral("CoSSN"), DigitsOnly(boxText(&w.Box(LoanBox::lblCoSSN))))
            .add(QStringLiteral("CoDOB"), dateOf(&w.Box(LoanBox::lblCoDOB)))
            .add(QStringLiteral("CoSuffix"), boxText(&w.Box(LoanBox::lblCoSufx)));
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
