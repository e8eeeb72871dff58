#pragma once

#include <QList>
#include <QMainWindow>

class ClickableLabel;
class ImageList;
class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace Ui {
class frmMain;
}

// The main window: the exported loan's data boxes, the report command buttons and the File menu.
// Each control keeps its form name as objectName and is reachable through the accessor of that name.
class frmMain : public QMainWindow
{
    Q_OBJECT

public:
    explicit frmMain(QWidget *parent = nullptr);
    ~frmMain() override;

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

private:
    bool opensFileMenu(QObject *watched, QEvent *event) const;

    Ui::frmMain *ui;
    ImageList *m_images;
    QList<QLineEdit *> m_dataBoxes;
    QList<QWidget *> m_fileMenuAreas;
};
