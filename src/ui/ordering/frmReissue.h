#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class frmReissue;
}

// Asks for the reissue number of a report that another broker or company had made. The number
// it accepts goes into the settings' ReissueNumber; leaving it any other way clears that.
class frmReissue : public QDialog
{
    Q_OBJECT

public:
    explicit frmReissue(QWidget* parent = nullptr);
    ~frmReissue() override;

    bool bNumberAccepted() const { return m_bNumberAccepted; }

    // Shows the window modally and returns the reissue number left in the settings.
    static QString Ask(QWidget* parent = nullptr);

    void done(int result) override;

private slots:
    void cmdReissue_Click();

private:
    void refuse(const QString& text);

    std::unique_ptr<Ui::frmReissue> ui;
    bool m_bNumberAccepted = false;
};
