#pragma once

#include "AppRig.h"

class frmMain;

// A user at the stand-in vendor server with a loan exported by the host program, and the real
// main window (window() hides the rig's recording one).
class ScreenRig : public AppRig
{
public:
    explicit ScreenRig(const QString& caseName, const QString& user = "demo", const QString& password = "Demo2026pass");
    ~ScreenRig();

    void useCase(const QString& caseName);
    frmMain* window();
    // Start-up's part: the check, then the button corrections.
    void check();
    bool enabled(const QString& name);
    // The requests of one action the server received, in order.
    QStringList sent(const QString& action);

    bool started = false;
    QString typedPassword; // what the user types into the settings window

private:
    frmMain* m_window = nullptr;
};
