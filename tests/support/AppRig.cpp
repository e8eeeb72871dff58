#include "AppRig.h"

#include "app/basMain.h"
#include "platform/SettingsStore.h"

#include <QCoreApplication>
#include <QTest>

namespace {

VendorSim& sharedServer()
{
    static VendorSim* sim = nullptr;
    if (!sim) {
        sim = new VendorSim;
        if (!sim->start())
            QTest::qFail("the stand-in vendor server did not start", __FILE__, __LINE__);
        qAddPostRoutine([] { delete sim; }); // before the application object goes
    }
    return *sim;
}

QString actionOf(const QString& line)
{
    return line.section(QLatin1String("Action="), 1).section(QLatin1Char('&'), 0, 0);
}

} // namespace

AppRig::AppRig() : sim(sharedServer())
{
    sim.reset();
    WindowHooks::SetMainWindowFactory([this] { return &window; });
    WindowHooks::ShowSettingsWindow() = [this] { ++settingsShown; };
}

AppRig::~AppRig()
{
    WindowHooks::SetMainWindowFactory(nullptr);
    WindowHooks::ShowSettingsWindow() = nullptr;
    WindowHooks::ShowChangePassword() = nullptr;
    SetCommandLine(QString());
}

void AppRig::storeAccount(const QString& user, const QString& password) const
{
    SettingsStore::SaveSetting("OQCREDIT", "Main", "ServerURL", sim.baseUrl());
    SettingsStore::SaveSetting("OQCREDIT", "Main", "UserName", user);
    SettingsStore::SaveSetting("OQCREDIT", "Main", "Password", password);
}

QStringList AppRig::sent(bool withReads) const
{
    static const QStringList reads({"LOGINBYREFERENCE", "REQUESTBUREAURIGHTS", "GETDEPARTMENTID", "GETSUPPLEMENTPAGE",
                                    "GETRMCRPAGE", "GETSUMMARYPAGE", "CHECKMESSAGES", "GETABOUT", "GETREPORTLISTPAGE",
                                    "CHANGEPASSWORDRIGHTS"});
    QStringList lines = sim.requests();
    lines.removeIf([&](const QString& line) { return !withReads && reads.contains(actionOf(line)); });
    return lines;
}

QStringList AppRig::actions(bool withReads) const
{
    QStringList names;
    for (const QString& line : sent(withReads))
        names << actionOf(line);
    return names;
}

QString AppRig::shown(int i) const
{
    return boxes.boxes.value(i).shown();
}
