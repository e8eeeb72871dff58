#pragma once

#include "ui/account/RequestControls.h"

#include <QDialog>

#include <memory>

class HourglassCursor;
class QLineEdit;
struct ServiceOutcome;
namespace Ui {
class frmUpdateContactInfo;
}

// "Update Contact Information": the e-mail address, telephone number and extension the vendor
// keeps for the user. The first opening in a run fetches them (GETCONTACTINFO), the window
// showing meanwhile with nothing to type into or press; OK sends the changes (UPDATECONTACTINFO).
// The values live in the settings object only, never on disk.
//
// One instance while shown: loaded by ShowModal and deleted when it closes.
class frmUpdateContactInfo : public QDialog
{
    Q_OBJECT

public:
    ~frmUpdateContactInfo() override;

    // Loads the window (fetching the values when none is known yet), shows it modally and
    // returns once it is closed.
    static void ShowModal();
    // The window while it is shown, or nullptr.
    static frmUpdateContactInfo* loaded();

    // The local checks run by OK, in their order; shows the first problem and focuses its box.
    bool ValidateEntries();

public slots:
    // Esc, the close box and Cancel: closing, but not while a request runs (Cancel is disabled then).
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void cmdOK_Click();

private:
    explicit frmUpdateContactInfo(QWidget* parent = nullptr);

    void Load();
    // The boxes from the settings' values.
    void Fill();
    // GetContactInfo; contactInfoFetched fills the boxes or tells the failure.
    void FetchContactInfo();
    void contactInfoFetched(const ServiceOutcome& outcome);
    bool Unchanged() const;
    // UpdateContactInfo; updateAnswered keeps the values or tells the failure.
    void SendUpdate();
    void updateAnswered(const ServiceOutcome& outcome);
    bool refuse(const QString& text, QLineEdit* box);

    // A request starts or ends: the hourglass and the controls follow.
    void beginRequest();
    void endRequest();
    // From the state: while a request runs, nothing can be typed, sent or closed; after a failed
    // read, nothing can be typed or sent.
    void setControls();

    std::unique_ptr<Ui::frmUpdateContactInfo> ui;
    // The hourglass of the request that runs; none when no request runs.
    std::unique_ptr<HourglassCursor> m_busy;
    // The values could not be read: only Cancel is left.
    bool m_unknown = false;
    RequestControls m_controls{this};
};
