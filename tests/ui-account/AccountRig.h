#pragma once

// What the account-window tests share: the account windows registered as the program registers
// them against a recording main window, and helpers that drive modal windows.

#include "EndRecorder.h"
#include "RecordingMainWindow.h"
#include "ScriptedMsgBox.h"
#include "ShellRecorder.h"
#include "TestEnv.h"
#include "VendorSim.h"
#include "core/AppContext.h"
#include "app/basMain.h"
#include "core/basSettings.h"
#include "platform/SettingsStore.h"
#include "ui/account/AccountWindows.h"
#include "ui/account/frmAbout.h"
#include "ui/account/frmChangePass.h"
#include "ui/account/frmPrefs.h"
#include "ui/account/frmUpdateContactInfo.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTcpServer>
#include <QTest>
#include <QTimer>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

const QString kUser = QStringLiteral("demo");
const QString kPassword = QStringLiteral("Demo2026pass");
const QString kValidate = QStringLiteral("POST /utils/CGI_Utilities.asp?Action=VALIDATECREDENTIALS&USER=demo&PASSWORD=");
const QStringList kAccount = {kUser, kPassword, kPassword};   // user, password, confirmation
const QString kAbsent = QStringLiteral("<absent>");
const QStringList kAccountKeys = {"SendDir", "ReceiveDir", "ArchiveDir", "ServerURL", "CompanyID", "UserName", "Password"};

// The account windows registered as the program registers them, a main window that records,
// and the settings object as start-up leaves it before the settings window opens: an empty store.
struct Rig {
    TestEnv env;
    FakeDesktop desk;
    ShellRecorder shell;
    ScriptedMsgBox boxes;
    EndRecorder ending;
    RecordingMainWindow window;
    Rig()
    {
        env.freshProps();
        LoadSettings(Props());
        WindowHooks::SetMainWindowFactory([this] { return &window; });
        RegisterAccountWindows();
        frmPrefs::setUserCancelled(false);
    }
    ~Rig()
    {
        WindowHooks::SetMainWindowFactory(nullptr);
        WindowHooks::ShowSettingsWindow() = nullptr;
        WindowHooks::ShowChangePassword() = nullptr;
        frmChangePass::Unload();
        SetCommandLine(QString());
    }
};

QString stored(const QString& key)
{
    return SettingsStore::GetSetting("OQCREDIT", "Main", key, kAbsent);
}

void closeSettingsWithoutQuestion()
{
    if (frmPrefs::loaded()) {
        frmPrefs::setUserCancelled(true);
        frmPrefs::Unload();
        frmPrefs::setUserCancelled(false);
    }
}

// Acts on the first modal window of type W once it is the active modal window, even when
// event loops of server requests run before it appears. cleanup runs afterwards on every path
// (also when the window never came), so the caller's exec() returns.
template <class W>
void whenModal(std::function<void(W&)> act, std::function<void()> cleanup)
{
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, act, cleanup, polls = 0]() mutable {
        auto* window = qobject_cast<W*>(QApplication::activeModalWidget());
        if (!window && ++polls < 3000)   // about 15 s
            return;
        timer->stop();
        timer->deleteLater();
        if (window)
            act(*window);
        else
            QTest::qFail("The expected modal window did not appear", __FILE__, __LINE__);
        cleanup();
    });
    timer->start(5);
}

// Shows the settings window modally, as start-up does, and runs script on it. Whatever the
// script leaves open is closed without the quit question, so the call returns on every path.
void showSettings(const std::function<void(frmPrefs&)>& script)
{
    whenModal<frmPrefs>(script, closeSettingsWithoutQuestion);
    frmPrefs::ShowModal();
}

QLineEdit* box(QWidget& w, const char* name)
{
    return w.findChild<QLineEdit*>(QLatin1String(name));
}

const char* const kBoxes[] = {"txtServerURL", "txtUserName", "txtPassword", "txtPasswordConfirm"};

// Types the four entries over what the boxes hold.
void enter(QWidget& w, const QStringList& entries)
{
    for (int i = 0; i < 4; ++i) {
        box(w, kBoxes[i])->clear();
        QTest::keyClicks(box(w, kBoxes[i]), entries[i]);
    }
}

QString focusedName(QWidget& w)
{
    return w.focusWidget() ? w.focusWidget()->objectName() : QString();
}

void click(QWidget& w, const char* name)
{
    QTest::mouseClick(w.findChild<QAbstractButton*>(QLatin1String(name)), Qt::LeftButton);
}

// The action names of the requests the server received, in order.
QStringList actions(const QStringList& requests)
{
    QStringList names;
    for (const QString& line : requests)
        names << line.section(QLatin1String("Action="), 1).section(QLatin1Char('&'), 0, 0);
    return names;
}

// The same without the existing-report check's account reads, which start-up sends ahead
// together with the reissue check and drops when the check does not take them (these tests
// run no check), so how many of them reach the server depends on timing.
QStringList actionsWithoutRefreshReads(const QStringList& requests)
{
    static const QStringList refresh = {"LOGINBYREFERENCE", "REQUESTBUREAURIGHTS", "GETDEPARTMENTID",
                                        "GETSUPPLEMENTPAGE", "GETRMCRPAGE", "GETSUMMARYPAGE", "CHECKMESSAGES",
                                        "GETABOUT", "GETREPORTLISTPAGE", "CHANGEPASSWORDRIGHTS"};
    QStringList names = actions(requests);
    names.removeIf([](const QString& name) { return refresh.contains(name); });
    return names;
}

} // namespace
