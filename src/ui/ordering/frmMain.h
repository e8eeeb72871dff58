#pragma once

#include "core/IMainWindow.h"
#include "ui/ordering/ILoanScreen.h"
#include "ui/ordering/LoanSession.h"

#include <QList>
#include <QMainWindow>

#include <memory>

class ImageList;
class QLabel;
class QPushButton;
class clsInquiry;

namespace Ui {
class frmMain;
}

// The main window: the exported loan's data boxes, the report command buttons and the File menu.
// Each control keeps its form name as objectName. Other code reaches the controls typed: start-up
// through IMainWindow (buttons by MainButton), the windows working on the loan through
// ILoanScreen (boxes by LoanBox). The loan's state lives in its LoanSession; the buttons follow
// it. Commands that are more than wiring live in their own classes next to this one
// (OrderCommands, ReportCommands, MainWebCommands).
class frmMain : public QMainWindow, public IMainWindow, public ILoanScreen
{
    Q_OBJECT

public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // The loan and its report; the windows working on the loan share it.
    LoanSession& session() { return *m_session; }
    const LoanSession& session() const { return *m_session; }

    // Full path of the report PDF downloaded in this run; empty until the first View or Print.
    QString sReportLocation() const;
    // The loan's current report at the vendor; empty for none, "ERROR" after a failed search.
    QString sReportUID() const;

    // Applies the report buttons' rule (ReportButtons) to every report button.
    void SetButtons() override;

    // A command button, typed.
    QPushButton& Button(MainButton button) const;

    // What start-up asks of the window.
    void SetVersionLabel(const QString& version) override;
    void SetCaption(const QString& caption) override;
    void SetLogo(int pictureIndex) override;
    void SetLogoTooltip(const QString& tooltip) override;
    void ShowWindow() override;
    void Unload() override;
    void CheckForExisting(std::function<void()> done) override;
    void HoldAccountCommands(bool held) override;

    // What the windows working on the loan fill and read.
    QLineEdit& Box(LoanBox box) const override;
    void SetReferenceCaption(const QString& caption) override;
    void SetCoBorrowerVisible(bool visible) override;
    void SetChangePasswordEnabled(bool enabled) override;
    void RepaintScreen() override;

signals:
    // Left click on the vendor logo.
    void logoClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private slots:
    void cmdRMCR_Click();
    void cmdRequestSupp_Click();
    void cmdWeb_Click();
    void cmdView_Click();
    void cmdPrint_Click();
    void cmdImport_Click();
    void Picture1_Click();
    void cmdClose_Click();
    void mnuConfig_Click();
    void mnuReload_Click();
    void showOrderNote();
    void orderReady();

private:
    void collectFileMenuAreas();
    bool opensFileMenu(QObject* watched, QEvent* event) const;
    void connectCommands();
    void setAccountMenu();
    std::shared_ptr<clsInquiry> inquiry() const;

    LoanSession* m_session;

    Ui::frmMain* ui;
    ImageList* m_images;
    QLabel* m_orderProgress;
    QList<QLineEdit*> m_dataBoxes;
    QList<QWidget*> m_fileMenuAreas;
    bool m_accountHeld = false;
    bool m_changePasswordRight = true;
};
