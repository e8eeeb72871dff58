#include "app/basMain.h"

#include "app/MainLoop.h"
#include "app/StartupSteps.h"
#include "core/AppContext.h"
#include "core/IMainWindow.h"
#include "core/MsgBox.h"
#include "core/SettingsKeys.h"
#include "core/basLog.h"
#include "core/basSettings.h"
#include "core/basShell.h"
#include "core/clsProperties.h"
#include "platform/AppError.h"
#include "platform/AppPaths.h"
#include "platform/Shell.h"
#include "platform/WebAddress.h"
#include "service/basUrl.h"

#include <QCoreApplication>
#include <QPointer>

namespace {

QString& commandLineText()
{
    static QString text;
    return text;
}

bool& restartPending()
{
    static bool pending = false;
    return pending;
}

// The run of start-up still on its way through its steps; null once it has stopped.
QPointer<StartupSteps>& currentRun()
{
    static QPointer<StartupSteps> run;
    return run;
}

// A run still going is given up, so that nothing of it reaches the run that replaces it.
void giveUpRun()
{
    if (StartupSteps* run = currentRun())
        run->giveUp();
}

// Stops start-up without a message (a failure numbered 0) once ending the program was asked
// for by the settings window.
void stopIfEnding()
{
    if (WindowHooks::EndRequested())
        throw AppError(0, QStringLiteral("The program is ending."), QStringLiteral("Main"));
}

bool isConfigurationMode(const QString& commandLine)
{
    return commandLine.contains(QLatin1String("/c")) || commandLine.contains(QLatin1String("/C"));
}

void recordProgram()
{
    SettingsKeys::Write(
        {{SettingKey::AppName, AppPaths::ProgramTitle()}, {SettingKey::AppPath, AppPaths::ProgramFolder()}});
}

// Hands over to the configuration program; every failure is ignored.
void runConfigurationProgram()
{
    const QString program = AppPaths::ProgramFolder() + AppPaths::Separator() + QStringLiteral("OQCFG.EXE");
    TheShell().StartProgram(program, {}, SW_SHOWNORMALFOCUS);
    if (IMainWindow* window = WindowHooks::MainWindow())
        window->Unload();
}

void setLogoTooltip(IMainWindow& window)
{
    window.SetLogoTooltip(QStringLiteral("Click for ") + Props().ClientWebsite());
}

// Steps that prepare the main window before it is shown.
void prepareMainWindow(IMainWindow& window)
{
    clsProperties& props = Props();
    window.SetVersionLabel(ClientVersion());
    props.setClient(SettingsKeys::Read(SettingKey::ClientVendor));
    props.setClientWebsite(SettingsKeys::Read(SettingKey::VendorWebsite));
    window.SetCaption(props.Client());
    setLogoTooltip(window);
    window.SetLogo(props.Client() == Vendor::DefaultName ? 1 : 2);
}

void loadSettingsOrAsk()
{
    const bool complete = LoadSettings(Props());
    if (!complete || CommandLine().contains(QLatin1String("/p"))) {
        if (const auto& show = WindowHooks::ShowSettingsWindow())
            show();
    }
}

void startSteps(IMainWindow& window)
{
    // The application owns the run while it goes, so none outlives the program's end.
    auto* run = new StartupSteps(window, QCoreApplication::instance());
    currentRun() = run;
    run->start();
}

StartupOutcome normalStart(IMainWindow& window)
{
    bool shown = false;
    try {
        prepareMainWindow(window);
        window.ShowWindow();
        shown = true;
        loadSettingsOrAsk();
        stopIfEnding(); // the user quit from the settings window
        Props().setClientWebsite(Props().ServerURL());
        setLogoTooltip(window);
        startSteps(window);
        return StartupOutcome::Started;
    } catch (const AppError& e) {
        // 0 is the quiet stop of a program that is ending; every other failure, platform
        // failures (negative numbers) included, would otherwise stop start-up without a word.
        if (e.Number != 0)
            ReportStartupFailure(e.Description);
    }
    return shown ? StartupOutcome::Started : StartupOutcome::FailedHidden;
}

} // namespace

void SetCommandLine(const QString& commandLine)
{
    commandLineText() = commandLine;
}

QString CommandLine()
{
    return commandLineText();
}

void ReportStartupFailure(const QString& description)
{
    MsgBox(QStringLiteral("There has been an error in start up.\r\n\r\nError: ") + description, vbCritical,
           QStringLiteral("Error in Main"));
    WriteErrorLog(description);
}

StartupOutcome Main()
{
    giveUpRun();
    recordProgram();
    SetProps(std::make_shared<clsProperties>());
    if (isConfigurationMode(CommandLine())) {
        runConfigurationProgram();
        return StartupOutcome::Configuration;
    }
    IMainWindow* window = WindowHooks::MainWindow();
    if (!window)
        return StartupOutcome::FailedHidden;
    return normalStart(*window);
}

bool ShowNewsBurst()
{
    const clsProperties& props = Props();
    const QString news = props.NewsBurstUrl();
    const bool relative = news.left(4).toLower() != QLatin1String("http");
    const QString page = relative ? props.BaseUrl() + news : news;
    // Encoded as on the vendor's other pages: no value can add a field or end the address.
    const QString built = page + QStringLiteral("?Interface=") + EncodeUrlValue(AppPaths::ProgramTitle())
        + QStringLiteral("&username=") + EncodeUrlValue(props.UserName()) + QStringLiteral("&CID=")
        + EncodeUrlValue(props.CompanyID()) + QStringLiteral("&DID=") + EncodeUrlValue(props.DepartmentID());
    const QString message = QStringLiteral("There was an error showing news burst popup window.\r\n\r\n");
    // The page comes from the server: only a well-formed web address reaches the shell, and a
    // link relative to the server cannot take the account's values to another host.
    const QString address = EncodedWebAddress(built);
    const bool moved = !address.isEmpty() && relative && !StaysOnServer(props.BaseUrl(), address);
    if (address.isEmpty() || moved) {
        const QString why = (moved ? QStringLiteral("The news page address leaves the credit vendor's server")
                                   : QStringLiteral("The news page address is not a well-formed http or https address"))
            + QStringLiteral(", so it is not opened: ") + page;
        MsgBox(message + why, vbCritical, QStringLiteral("News"));
        WriteErrorLog(why + QStringLiteral(" in ShowNewsBurst"));
        return false;
    }
    const auto failed = [message](int code) {
        MsgBox(message + ShellErrorText(code), vbCritical, QStringLiteral("News"));
    };
    // The browser's opener may take seconds to report; its failure is shown when it does.
    const int code = TheShell().OpenPage(address, failed);
    if (code <= 32)
        failed(code);
    return false;
}

void QueueRestart(std::function<void()> prepare)
{
    if (restartPending())
        return;
    restartPending() = true;
    PostToMainLoop([prepare = std::move(prepare)] {
        restartPending() = false;
        // Before prepare, whose unloading of windows must not reach the run it replaces.
        giveUpRun();
        if (prepare)
            prepare();
        Main();
    });
}

bool RestartPending()
{
    return restartPending();
}

bool StartupRunning()
{
    return !currentRun().isNull();
}
