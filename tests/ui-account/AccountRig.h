#pragma once

// The one rig of the account-window tests: the account windows registered as the program
// registers them against a recording main window, the stand-in server, and helpers that play
// the user at a modal window.

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
#include <QTest>
#include <QTimer>

#include <type_traits>

namespace {

const QString kUser = QStringLiteral("demo");
const QString kPassword = QStringLiteral("Demo2026pass");
const QString kAbsent = QStringLiteral("<absent>");
const QString kUtil = QStringLiteral("POST /utils/CGI_Utilities.asp?Action=");

QString stored(const QString& key)
{
    return SettingsStore::GetSetting("OQCREDIT", "Main", key, kAbsent);
}

// Leaves window W without any question, whatever a script left open.
template <class W>
void closeQuietly()
{
    W* w = W::loaded();
    if (!w)
        return;
    if constexpr (std::is_same_v<W, frmPrefs>) {
        frmPrefs::setUserCancelled(true);
        frmPrefs::Unload();
        frmPrefs::setUserCancelled(false);
    } else if (w->isVisible()) {
        if constexpr (std::is_same_v<W, frmChangePass>)
            w->setUserInitiated(true);
        w->reject();
    }
}

// Acts on the first modal window of type W once it is the active modal window, even when event
// loops of server requests run before it appears; then closes it quietly, so the caller's
// ShowModal returns on every path.
template <class W>
void whenModal(std::function<void(W&)> act)
{
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, act, polls = 0]() mutable {
        auto* window = qobject_cast<W*>(QApplication::activeModalWidget());
        if (!window && ++polls < 3000)   // about 15 s
            return;
        timer->deleteLater();
        timer->stop();
        if (window)
            act(*window);
        else
            QTest::qFail("The expected modal window did not appear", __FILE__, __LINE__);
        closeQuietly<W>();
    });
    timer->start(5);
}

QLineEdit* box(QWidget& w, const QString& name)
{
    return w.findChild<QLineEdit*>(name);
}

// Types the values over what the named boxes hold.
void enter(QWidget& w, const QStringList& names, const QStringList& values)
{
    for (int i = 0; i < names.size(); ++i) {
        box(w, names[i])->clear();
        QTest::keyClicks(box(w, names[i]), values[i]);
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

// The action names of the requests the server received, in order; unless asked for, without the
// existing-report check's account reads, which start-up sends ahead and drops when no check
// takes them.
QStringList actions(const QStringList& requests, bool withoutRefreshReads = true)
{
    static const QStringList refresh = {"LOGINBYREFERENCE", "REQUESTBUREAURIGHTS", "GETDEPARTMENTID",
                                        "GETSUPPLEMENTPAGE", "GETRMCRPAGE", "GETSUMMARYPAGE", "CHECKMESSAGES",
                                        "GETABOUT", "GETREPORTLISTPAGE", "CHANGEPASSWORDRIGHTS"};
    QStringList names;
    for (const QString& line : requests)
        names << line.section(QLatin1String("Action="), 1).section(QLatin1Char('&'), 0, 0);
    names.removeIf([=](const QString& name) { return withoutRefreshReads && refresh.contains(name); });
    return names;
}

// The account windows registered as the program registers them, a main window that records, the
// settings object as start-up leaves it before the settings window opens (an empty store), and
// the stand-in server, started once for the whole executable.
struct Rig {
    TestEnv env;
    FakeDesktop desk;
    ShellRecorder shell;
    ScriptedMsgBox boxes;
    EndRecorder ending;
    RecordingMainWindow window;
    VendorSim& sim;
    Rig() : sim(server())
    {
        sim.reset();
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
    static VendorSim& server()
    {
        static VendorSim* sim = nullptr;
        if (!sim) {
            sim = new VendorSim;
            if (!sim->start())
                QTest::qFail("the stand-in vendor server did not start", __FILE__, __LINE__);
            qAddPostRoutine([] { delete sim; });   // before the application object goes
        }
        return *sim;
    }
    // The demo account as start-up leaves it once its settings are known.
    void account(bool save = true)
    {
        Props().setServerURL(sim.baseUrl());
        Props().setUserName(kUser);
        Props().setPassword(kPassword);
        Props().setSavePassword(true);
        Props().setCompanyID("QDEMO");
        Props().setDepartmentID("QDEMO-LOANS");
        if (save)
            SaveSettings(Props());
    }
    // Box i as "title|style|text".
    QString shown(int i) const
    {
        const auto& b = boxes.boxes.value(i);
        return b.title + "|" + QString::number(b.style) + "|" + b.text;
    }
};

} // namespace
