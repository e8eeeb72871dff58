#pragma once

// The rig of the account-window tests: start-up's rig (AppRig) with the account windows
// registered as the program registers them, and the settings object as start-up leaves it before
// the settings window opens (an empty store).

#include "AppRig.h"
#include "ModalDriver.h"
#include "core/basSettings.h"
#include "platform/SettingsStore.h"
#include "ui/account/AccountWindows.h"
#include "ui/account/frmChangePass.h"
#include "ui/account/frmPrefs.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>

namespace {

const QString kAbsent = QStringLiteral("<absent>");

QString stored(const QString& key)
{
    return SettingsStore::GetSetting("OQCREDIT", "Main", key, kAbsent);
}

// Leaves a window without any question, whatever a script left open, so the caller's ShowModal
// returns on every path.
void leaveQuietly(QWidget* window)
{
    if (qobject_cast<frmPrefs*>(window)) {
        frmPrefs::setUserCancelled(true);
        frmPrefs::Unload();
        frmPrefs::setUserCancelled(false);
    } else if (window->isVisible()) {
        window->setProperty("UserInitiated", true);
        QMetaObject::invokeMethod(window, "reject");
    }
}

QLineEdit* box(QWidget& w, const QString& name)
{
    return w.findChild<QLineEdit*>(name);
}

void click(QWidget& w, const QString& name)
{
    QTest::mouseClick(w.findChild<QWidget*>(name), Qt::LeftButton);
}

struct Rig : AppRig {
    ModalDriver user;
    // Acts on the next modal window of the class, then leaves it.
    void whenModal(const char* className, std::function<void(QWidget&)> act)
    {
        user.on(className, [act](QWidget* window) {
            act(*window);
            leaveQuietly(window);
        });
    }
    Rig()
    {
        env.freshProps();
        LoadSettings(Props());
        RegisterAccountWindows();
        frmPrefs::setUserCancelled(false);
    }
    ~Rig() { frmChangePass::Unload(); }
    // The demo account as start-up leaves it once its settings are known.
    void account(bool save = true)
    {
        Props().setServerURL(sim.baseUrl());
        Props().setUserName(User);
        Props().setPassword(Password);
        Props().setSavePassword(true);
        Props().setCompanyID("QDEMO");
        Props().setDepartmentID("QDEMO-LOANS");
        if (save)
            SaveSettings(Props());
    }
};

} // namespace
