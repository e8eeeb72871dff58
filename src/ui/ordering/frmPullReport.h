#pragma once

#include <QDialog>
#include <QList>
#include <QPointer>

#include <memory>

class QCheckBox;
class QListWidget;
class QPushButton;
class clsInquiry;
class clsReportStatus;
class frmMain;

namespace Ui {
class frmPullReport;
}

// The kind of an order.
enum ePullTypes : int {
    PullNew = 1,
    PullRepull = 2,
    PullAddBureau = 3,
};

// The modal window through which the user orders a report for the open loan: a new report, a
// repull, or more bureaus on the existing report. Pull runs the whole order: the order block
// from the main window's boxes and the ticked bureaus, a pending identical order or a new one,
// the version stamp, the wait for the bureaus, and the outcome; the progress list shows each step.
//
// The window exists once: loaded on first use, unloaded when it closes (every way of closing
// refreshes the main window's buttons).
class frmPullReport : public QDialog
{
    Q_OBJECT

public:
    ~frmPullReport() override;

    // The loaded window, loading it for the given main window when needed.
    static frmPullReport& Load(frmMain& mainWindow);
    static frmPullReport* loaded();
    // Closes the window when it is loaded; it is deleted once its modal show has returned.
    static void Unload();
    // Loads when needed, shows modally and unloads; returns the pull type the window ended with.
    static int ShowModal(frmMain& mainWindow);

    // Takes the loan's report status record, the pull type and the inquiry. Type 3 runs the
    // set-up at once, so a loaded window shows the add-a-bureau state.
    void SetProps(std::shared_ptr<clsReportStatus> roStatus, int veType, std::shared_ptr<clsInquiry> voInquiry);

    // The pull type; 2 after a successful order.
    int ePullType() const { return m_ePullType; }
    // The request GUID of the last order.
    QString sReportUID() const { return m_sReportUID; }
    // Net number of bureau boxes the user ticked since the set-up.
    qint16 nBureausTicked() const { return m_nBureausTicked; }

    // A date for the order block: empty stays empty; a month/day/year date (the host parser's
    // forms) becomes "MM/dd/yyyy"; anything else gives the empty text and ok false.
    static QString GetDate(const QString& value, bool& ok);

    // Window heights, in twips as the layout rules state them, and their pixels on this screen.
    static constexpr int SetUpHeight = 2430;
    static constexpr int AbortedHeight = 2400;
    static constexpr int ListMargin = 95;
    int twipsToPixels(int twips) const;

    QListWidget* lstbxProgress() const;
    QPushButton* cmdPull() const;
    QPushButton* cmdClose() const;
    QCheckBox* cbxEquifax() const;
    QCheckBox* cbxExperian() const;
    QCheckBox* cbxTransUnion() const;

    // Every way of closing passes here: the main window refreshes its buttons.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    // While an order runs, Escape and the window's close button do nothing, like Cancel.
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private slots:
    void cmdPull_Click();
    void bureau_Click(bool ticked);

private:
    explicit frmPullReport(frmMain& mainWindow);

    void SetUp();
    bool Validate();
    void showProgressList();
    void hideProgressList(int heightTwips);
    void progress(const QString& line, bool repaintNow = true);
    void lockWhileOrdering();
    void unlockAfterOrder();
    bool orderAndWait();
    void succeed(const QString& guid);

    friend class PullOrder;

    std::unique_ptr<Ui::frmPullReport> ui;
    QPointer<frmMain> m_main;
    std::shared_ptr<clsReportStatus> m_oReportStatus;
    std::shared_ptr<clsInquiry> m_oInquiry;
    int m_ePullType = 0;
    qint16 m_nBureausTicked = 0;
    QString m_sReportUID;
    bool m_setUpDone = false;
    // Set while Pull's order runs; the controls' enabled states from before it.
    bool m_ordering = false;
    QList<QPair<QWidget*, bool>> m_enabledBeforeOrder;
};
