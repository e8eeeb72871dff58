#pragma once

#include <QDialog>

#include <memory>

class QLineEdit;
namespace Ui {
class frmUpdateContactInfo;
}

// "Update Contact Information": the e-mail address, telephone number and extension the vendor
// keeps for the user. The first opening in a run fetches them (GETCONTACTINFO); OK sends the
// changes (UPDATECONTACTINFO). The values live in the settings object only, never on disk.
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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void cmdOK_Click();

private:
    explicit frmUpdateContactInfo(QWidget* parent = nullptr);

    void Load();
    // GetContactInfo; raises AppError on any failure, 6000 for a block that does not convert.
    void FetchContactInfo();
    bool Unchanged() const;
    // UpdateContactInfo; false when the block could not be converted (already reported).
    bool SendUpdate();
    bool refuse(const QString& text, QLineEdit* box);

    std::unique_ptr<Ui::frmUpdateContactInfo> ui;
};
