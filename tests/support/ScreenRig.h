#pragma once

#include "ScriptedMsgBox.h"
#include "ShellRecorder.h"
#include "TestEnv.h"
#include "VendorSim.h"

#include <QString>
#include <QStringList>

class frmMain;

// A user at the stand-in vendor server with a loan exported by the host program.
class ScreenRig
{
public:
    explicit ScreenRig(const QString& caseName, const QString& user = "demo", const QString& password = "Demo2026pass");
    ~ScreenRig();
    ScreenRig(const ScreenRig&) = delete;
    ScreenRig& operator=(const ScreenRig&) = delete;

    void useCase(const QString& caseName);
    static QByteArray readAll(const QString& path);
    frmMain* window();
    // Start-up's part: the check, then the button corrections.
    void check();
    bool enabled(const QString& name);
    // The requests of one action the server received, in order.
    QStringList sent(const QString& action);

    TestEnv env;
    FakeDesktop desk;
    ShellRecorder shell;
    ScriptedMsgBox boxes;
    VendorSim sim;
    bool started = false;
    int programEnds = 0;
    int settingsShown = 0;
    QString typedPassword;   // what the user types into the settings window

private:
    frmMain* m_window = nullptr;
};
