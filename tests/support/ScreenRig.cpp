#include "ScreenRig.h"

#include "app/StartupSteps.h"
#include "core/basSettings.h"
#include "core/clsProperties.h"
#include "ui/ordering/frmCheckExisting.h"
#include "ui/ordering/frmMain.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QThread>

ScreenRig::ScreenRig(const QString& caseName, const QString& user, const QString& password)
{
    desk.now = QDateTime::currentDateTime();
    started = sim.port() != 0;
    storeAccount(user, password);
    useCase(caseName);
    WindowHooks::ShowSettingsWindow() = [this] {
        ++settingsShown;
        if (!typedPassword.isEmpty())
            Props().setPassword(typedPassword);
    };
    WindowHooks::SetMainWindowFactory([this] { return window(); });
    env.freshProps();
    LoadSettings(Props());
}

ScreenRig::~ScreenRig()
{
    WindowHooks::SetMainWindowFactory(nullptr);
    delete m_window;
}

void ScreenRig::useCase(const QString& caseName)
{
    env.writeFile("receive/EXPORT.DAT", env.readFile(VendorSim::demoCaseDir(caseName) + "/EXPORT.DAT"));
}

frmMain* ScreenRig::window()
{
    if (!m_window) {
        m_window = new frmMain;
        m_window->show();
    }
    return m_window;
}

void ScreenRig::check()
{
    RunExistingReportCheck(*window());
    // The check ends from the event loop, when its window is unloaded. One pass of the loop at a
    // time, so that the test looks before anything the end has queued (start-up again) has run.
    QDeadlineTimer deadline(30000);
    while (frmCheckExisting::loaded() && !deadline.hasExpired()) {
        QCoreApplication::processEvents();
        QThread::msleep(1);
    }
    QVERIFY2(!frmCheckExisting::loaded(), "the check did not end");
}

bool ScreenRig::enabled(const QString& name)
{
    return window()->findChild<QPushButton*>(name)->isEnabled();
}

QStringList ScreenRig::sent(const QString& action)
{
    return sim.requests().filter(QRegularExpression("ction=" + QRegularExpression::escape(action) + "(&|$)"));
}
