#pragma once

#include "core/IMainWindow.h"

#include <QList>
#include <QMainWindow>

#include <memory>

class ClickableLabel;
class ImageList;
class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class clsInquiry;
class clsReportStatus;

namespace Ui {
class frmMain;
}

// The main window: the exported loan's data boxes, the report command buttons and the File menu.
// Each control keeps its form name as objectName and is reachable through the accessor of that name.
class frmMain : public QMainWindow, public IMainWindow
{
    Q_OBJECT

public:
    explicit frmMain(QWidget *parent = nullptr);
    ~frmMain() override;

    // The kind of the next order: 1 new pull, 2 repull, 3 add a bureau; 0 before the first check.
    int ePullType() const { return m_ePullType; }
    void setePullType(int v) { m_ePullType = v; }
    // Full path of the report PDF downloaded in this run; empty until the first View or Print.
    QString sReportLocation() const { return m_sReportLocation; }
    void setsReportLocation(const QString &v) { m_sReportLocation = v; }
    // The loan's current report at the vendor; empty for none, "ERROR" after a failed search.
    QString sReportUID() const { return m_sReportUID; }
    void setsReportUID(const QString &v) { m_sReportUID = v; }

    std::shared_ptr<clsInquiry> inquiry() const { return m_inquiry; }
    std::shared_ptr<clsReportStatus> reportStatus() const { return m_reportStatus; }
    void setReportStatus(std::shared_ptr<clsReportStatus> v) { m_reportStatus = std::move(v); }
    int existingReportResult() const { return m_existingResult; }

    void SetRMCR();
    void SetAddBureau();
    void SetPrintViewImport();
    void SetSupplement();
    void SetRepull();
    void SetButtons();

    // What start-up asks of the window.
    void SetVersionLabel(const QString &version) override;
    void SetCaption(const QString &caption) override;
    void SetLogo(int pictureIndex) override;
    void SetLogoTooltip(const QString &tooltip) override;
    void ShowWindow() override;
    void Unload() override;
    void CheckForExisting() override;
    QString ExistingReportID() const override { return m_checkReportId; }
    void SetButtonEnabled(const QString &objectName, bool enabled) override;
    void SetButtonText(const QString &objectName, const QString &caption, const QString &tooltip) override;

    // Data text boxes (the loan on screen).
    QLineEdit *lblReference() const;
    QLineEdit *lblBorFirst() const;
    QLineEdit *lblBorLast() const;
    QLineEdit *lblBorMi() const;
    QLineEdit *lblBorSufx() const;
    QLineEdit *lblBorSSN() const;
    QLineEdit *lblBorDOB() const;
    QLineEdit *lblCoFirst() const;
    QLineEdit *lblCoLast() const;
    QLineEdit *lblCoMi() const;
    QLineEdit *lblCoSufx() const;
    QLineEdit *lblCoSSN() const;
    QLineEdit *lblCoDOB() const;
    QLineEdit *lblCurAddr() const;
    QLineEdit *lblCurCity() const;
    QLineEdit *lblCurState() const;
    QLineEdit *lblCurZip() const;
    QLineEdit *lblCurCountry() const;
    QLineEdit *lblPreAddr() const;
    QLineEdit *lblPreCity() const;
    QLineEdit *lblPreState() const;
    QLineEdit *lblPreZip() const;
    QLineEdit *lblPreCountry() const;
    // The 23 data text boxes, reference first, then borrower, co-borrower and the two addresses.
    QList<QLineEdit *> dataBoxes() const;

    QLabel *lblRef() const; // caption of lblReference ("Reference:", or "Reissue #:")
    QLabel *lblVersion() const;
    ClickableLabel *Picture1() const;
    ImageList *ImageList1() const;

    // Frames.
    QGroupBox *fmBorrower() const;
    QGroupBox *fmCoBorrower() const;
    QGroupBox *fmCurrAddr() const;
    QGroupBox *fmPreAddr() const;

    // Command buttons.
    QPushButton *cmdRepull() const;
    QPushButton *cmdAddBureau() const;
    QPushButton *cmdView() const;
    QPushButton *cmdPrint() const;
    QPushButton *cmdImport() const;
    QPushButton *cmdRMCR() const;
    QPushButton *cmdWeb() const;
    QPushButton *cmdRequestSupp() const;
    QPushButton *cmdClose() const;

    // The File menu and its items.
    QMenu *mnuFile() const;
    QAction *mnuAbout() const;
    QAction *mnuConfig() const;
    QAction *mnuChangePassword() const;
    QAction *mnuContactInfo() const;
    QAction *mnuReload() const;

signals:
    // Left click on the vendor logo.
    void logoClicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private slots:
    void cmdRMCR_Click();
    void cmdRequestSupp_Click();
    void cmdWeb_Click();
    void Picture1_Click();
    void cmdClose_Click();
    void mnuConfig_Click();
    void mnuReload_Click();

private:
    bool opensFileMenu(QObject *watched, QEvent *event) const;
    void connectCommands();
    void takeOverCheck(const class frmCheckExisting &check);
    void openLoanPage(bool fromRmcr);
    struct LoanOnScreen loanOnScreen() const;
    bool hasStatus() const { return m_reportStatus != nullptr; }
    bool rmcrPending() const;

    int m_ePullType = 0;
    QString m_sReportLocation;
    QString m_sReportUID;
    QString m_checkReportId;
    std::shared_ptr<clsInquiry> m_inquiry;
    std::shared_ptr<clsReportStatus> m_reportStatus;
    int m_existingResult = 0;

    Ui::frmMain *ui;
    ImageList *m_images;
    QList<QLineEdit *> m_dataBoxes;
    QList<QWidget *> m_fileMenuAreas;
};
