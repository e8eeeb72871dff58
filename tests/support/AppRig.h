#pragma once

#include "ScriptedMsgBox.h"
#include "ShellRecorder.h"
#include "TestEnv.h"
#include "VendorSim.h"
#include "core/AppContext.h"
#include "core/IMainWindow.h"
#include "core/clsProperties.h"

// Counts requests to end the program instead of ending it, and clears the "ending" state the
// process keeps, before and after the test.
class EndRecorder
{
public:
    EndRecorder() : m_saved(WindowHooks::EndProgram())
    {
        WindowHooks::EndRequested() = false;
        WindowHooks::EndProgram() = [this] { ++count; };
    }
    ~EndRecorder()
    {
        WindowHooks::EndProgram() = m_saved;
        WindowHooks::EndRequested() = false;
    }
    EndRecorder(const EndRecorder&) = delete;
    EndRecorder& operator=(const EndRecorder&) = delete;

    int count = 0;

private:
    std::function<void()> m_saved;
};

// Records what start-up does to the main window.
class RecordingMainWindow : public IMainWindow
{
public:
    void SetVersionLabel(const QString&) override {}
    void SetCaption(const QString& c) override { caption = c; }
    void SetLogo(int index) override { logo = index; }
    void SetLogoTooltip(const QString& t) override { tooltips << t; }
    void ShowWindow() override { ++shown; }
    void Unload() override { ++unloaded; }
    // The reissue window sets the number while the check runs.
    void CheckForExisting(std::function<void()> done) override
    {
        ++checks;
        if (!reissueDuringCheck.isEmpty())
            Props().setReissueNumber(reissueDuringCheck);
        done();
    }
    // Counts the calls that come after a check.
    void SetButtons() override { buttonsAfterCheck += checks > 0 ? 1 : 0; }
    void HoldAccountCommands(bool held) override { accountHeld = held; }
    // The counts in words.
    QString calls() const
    {
        const auto n = [](int count) { return QString::number(count); };
        return QString("shown %1, checked %2, buttons set after the check %3, unloaded %4")
            .arg(n(shown), n(checks), n(buttonsAfterCheck), n(unloaded));
    }

    QString caption, reissueDuringCheck;
    QStringList tooltips;
    int logo = 0, shown = 0, unloaded = 0, checks = 0, buttonsAfterCheck = 0;
    bool accountHeld = false;
};

// Start-up's surroundings: fresh folders, the seams above, this rig's window as the main window
// and a settings window that only counts its openings (the account windows may take its place).
// The stand-in server is started once per executable and reset for each rig.
class AppRig
{
public:
    static inline const QString User = QStringLiteral("demo");
    static inline const QString Password = QStringLiteral("Demo2026pass");

    AppRig();
    ~AppRig();

    // The stored settings a previous run leaves for user at the stand-in server.
    void storeAccount(const QString& user = User, const QString& password = Password) const;
    // The requests the server received ("METHOD target"), in order; unless asked for, without the
    // existing-report check's account reads, which start-up sends ahead and drops when no check
    // takes them.
    QStringList sent(bool withReads = false) const;
    // The action names of sent().
    QStringList actions(bool withReads = false) const;
    // Box i as "title|style|text", the style in words (Box::shown()); "|Plain|" when there is none.
    QString shown(int i) const;

    TestEnv env;
    FakeDesktop desk;
    ShellRecorder shell;
    ScriptedMsgBox boxes;
    EndRecorder ending;
    RecordingMainWindow window;
    VendorSim& sim;
    int settingsShown = 0;
};
