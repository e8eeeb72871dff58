#include "ui/ordering/frmReissue.h"

#include "ui_frmReissue.h"

#include "core/AppContext.h"
#include "core/MsgBox.h"
#include "core/clsProperties.h"

frmReissue::frmReissue(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::frmReissue>())
{
    ui->setupUi(this);
    connect(ui->cmdReissue, &QPushButton::clicked, this, &frmReissue::cmdReissue_Click);
    connect(ui->cmdClose, &QPushButton::clicked, this, &QDialog::reject);
}

frmReissue::~frmReissue() = default;

QString frmReissue::Ask(QWidget* parent)
{
    frmReissue window(parent);
    window.exec();
    return Props().ReissueNumber();
}

void frmReissue::cmdReissue_Click()
{
    const QString number = ui->txtReissue->text().trimmed();
    if (number.isEmpty())
        return refuse(QStringLiteral("You must enter a reissue number to proceed."));
    if (number.contains(QLatin1Char(' ')))
        return refuse(QStringLiteral("You must enter a valid reissue number to proceed."));
    Props().setReissueNumber(number);
    m_bNumberAccepted = true;
    accept();
}

void frmReissue::refuse(const QString& text)
{
    MsgBox(text, vbExclamation, QStringLiteral("Validation Error"));
    ui->txtReissue->setFocus();
}

// Every way of closing passes here, the close box and Escape included.
void frmReissue::done(int result)
{
    if (!m_bNumberAccepted)
        Props().setReissueNumber(QString());
    QDialog::done(result);
}
