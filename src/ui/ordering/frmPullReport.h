#pragma once

#include "ui/ordering/IOrderProgress.h"

#include <QDialog>
#include <QList>
#include <QPointer>

#include <memory>

class ILoanScreen;
class LoanSession;
class PullOrder;
class QCheckBox;
class QListWidget;
class QPushButton;

namespace Ui {
class frmPullReport;
}

// The modal window through which the user orders a report for the open loan: a new report, a
// repull, or more bureaus on the existing report. Pull runs the whole order (PullOrder): the order
// block from the loan screen's boxes and the ticked bureaus, a pending identical order or a new
// one, the version stamp, the wait for the bureaus, and the outcome; the progress list shows each
// step. The loan's status record and inquiry come from its session, which the order updates.
// The order runs without waiting, with the window's controls disabled; when the user sends the
// wait for the bureaus to the background, the window closes and the order goes on without it.
//
// The window exists once: loaded on first use, unloaded when it closes.
class frmPullReport : public QDialog, private IOrderProgress
{
    Q_OBJECT

public:
    ~frmPullReport() override;

    // The loaded window, loading it over parent for the loan on screen when needed.
    static frmPullReport& Load(ILoanScreen& screen, LoanSession& session, QWidget* parent);
    static frmPullReport* loaded();
    // Closes the window when it is loaded; it is deleted once its modal show has returned.
    static void Unload();
    // Shows the loaded window modally and unloads it; returns the pull type it ended with.
    static int ShowModal();

    // The pull type (ePullTypes). Type 3 runs the set-up at once, so a loaded window shows the
    // add-a-bureau state.
    void SetProps(int veType);

    // The pull type; 2 after a successful order.
    int ePullType() const { return m_ePullType; }
    // The request GUID of the last order.
    QString sReportUID() const { return m_sReportUID; }
    // Net number of bureau boxes the user ticked since the set-up.
    qint16 nBureausTicked() const { return m_nBureausTicked; }

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

protected:
    void showEvent(QShowEvent* event) override;
    // While an order runs, Escape and the window's close button do nothing, like Cancel.
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private slots:
    void cmdPull_Click();
    void bureau_Click(bool ticked);

private:
    frmPullReport(ILoanScreen& screen, LoanSession& session, QWidget* parent);

    void SetUp();
    bool Validate();
    void hideProgressList(int heightTwips);
    void lockWhileOrdering();
    void unlockAfterOrder();

    // What the order reports.
    void ShowProgressList() override;
    void AddProgress(const QString& line, bool repaintNow = true) override;
    void OrderKnown(const QString& guid) override;
    void OrderAborted() override;
    void OrderFinished() override;
    void OrderInBackground() override;

    std::unique_ptr<Ui::frmPullReport> ui;
    ILoanScreen& m_screen;
    LoanSession& m_session;
    int m_ePullType = 0;
    qint16 m_nBureausTicked = 0;
    QString m_sReportUID;
    bool m_setUpDone = false;
    // Set while Pull's order runs; the controls' enabled states from before it.
    bool m_ordering = false;
    QPointer<PullOrder> m_order;
    QList<QPair<QWidget*, bool>> m_enabledBeforeOrder;
};
