#pragma once

// The rig of the account-window tests: start-up's rig (AppRig) with the account windows
// registered as the program registers them, and the settings object as start-up leaves it before
// the settings window opens (an empty store).

#include "AppRig.h"
#include "core/basSettings.h"
#include "platform/SettingsStore.h"
#include "ui/account/AccountWindows.h"
#include "ui/account/frmChangePass.h"
#include "ui/account/frmPrefs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

namespace {

const QString kAbsent = QStringLiteral("<absent>");

QString stored(const QString& key)
{
    return SettingsStore::GetSetting("OQCREDIT", "Main", key, kAbsent);
}

// Acts on the first modal window of the class once it is the active modal window, even when
// event loops of server requests run before it appears; then leaves it without any question, so
// the caller's ShowModal returns on every path.
void whenModal(const char* className, std::function<void(QWidget&)> act)
{
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, className, act, polls = 0]() mutable {
        QWidget* window = QApplication::activeModalWidget();
        if (window && !window->inherits(className))
            window = nullptr;
        if (!window && ++polls < 3000)   // about 15 s
            return;
        timer->deleteLater();
        timer->stop();
        if (!window) {
            QTest::qFail("The expected modal window did not appear", __FILE__, __LINE__);
            return;
        }
        act(*window);
        if (qobject_cast<frmPrefs*>(window)) {
            frmPrefs::setUserCancelled(true);
            frmPrefs::Unload();
            frmPrefs::setUserCancelled(false);
        } else if (window->isVisible()) {
            window->setProperty("UserInitiated", true);
            QMetaObject::invokeMethod(window, "reject");
        }
    });
    timer->start(5);
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
