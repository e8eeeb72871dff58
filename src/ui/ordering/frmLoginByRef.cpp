#include "ui/ordering/frmLoginByRef.h"

#include "ui_frmLoginByRef.h"

#include "core/AppContext.h"
#include "core/MsgBox.h"
#include "core/clsProperties.h"

namespace {

frmLoginByRef*& theWindow()
{
    static frmLoginByRef* window = nullptr;
    return window;
}

} // namespace

frmLoginByRef::frmLoginByRef(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::frmLoginByRef>())
{
    ui->setupUi(this);
    connect(ui->cmdPull, &QPushButton::clicked, this, &frmLoginByRef::cmdPull_Click);
    connect(ui->cmdClose, &QPushButton::clicked, this, &QDialog::reject);
}

frmLoginByRef::~frmLoginByRef()
{
    if (theWindow() == this)
        theWindow() = nullptr;
}

frmLoginByRef& frmLoginByRef::Load()
{
    if (!theWindow())
        theWindow() = new frmLoginByRef;
    return *theWindow();
}

frmLoginByRef* frmLoginByRef::loaded()
{
    return theWindow();
}

void frmLoginByRef::Unload()
{
    delete theWindow();
}

bool frmLoginByRef::Choose()
{
    frmLoginByRef& chooser = Load();
    chooser.setAbortMessage(true);
    chooser.exec();
    return !chooser.UserCancelled();
}

int frmLoginByRef::exec()
{
    fillList();
    m_UserCancelled = false;
    m_closedByChoice = false;
    return QDialog::exec();
}

void frmLoginByRef::fillList()
{
    ui->lstbxRefs->clear();
    for (const auto& entry : Props().LoginByReferences())
        ui->lstbxRefs->addItem(entry->LongName());
}

// The entry of the first selected line in list order; nullptr when no line is selected or the
// line names no entry of the settings.
std::shared_ptr<clsLoginByRef> frmLoginByRef::chosenEntry() const
{
    for (int row = 0; row < ui->lstbxRefs->count(); ++row) {
        if (!ui->lstbxRefs->item(row)->isSelected())
            continue;
        const QString key = ui->lstbxRefs->item(row)->text();
        for (const auto& entry : Props().LoginByReferences())
            if (entry->LongName().compare(key, Qt::CaseInsensitive) == 0)
                return entry;
        return nullptr;
    }
    return nullptr;
}

void frmLoginByRef::cmdPull_Click()
{
    // A line without an entry counts as no choice: ordering on the previous reference's account
    // instead would be worse than asking again.
    const auto entry = chosenEntry();
    if (!entry) {
        reject();
        return;
    }
    Props().setLoginReference(entry);
    m_closedByChoice = true;
    Props().setLoginByRef(true);
    accept();
}

void frmLoginByRef::done(int result)
{
    if (m_closedByChoice) {
        m_closedByChoice = false;
        ui->lstbxRefs->clear();
        QDialog::done(result);
        return;
    }
    if (m_AbortMessage
        && MsgBox(QStringLiteral("You can not pull credit without chosing a reference.\r\n\r\n\r\nAbort Credit Pull?"),
                  vbYesNo | vbExclamation, QStringLiteral("Abort?"))
            != vbYes)
        return;
    m_UserCancelled = true;
    QDialog::done(result);
}
