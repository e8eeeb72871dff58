#pragma once

#include <QObject>
#include <QString>

#include <functional>

class IMainWindow;
struct AppError;
struct ServiceOutcome;

// The steps of one start-up run once the settings are settled: the three account checks in the
// order password, version, reissue right, then the main window's existing-report check and its
// buttons. Each step starts the next from its outcome. The first check that fails stops the run
// with the "Error in Main" box and its log line; an end of the program asked for by the
// expired-password window or the newer-version download stops it without a word. The reads sent
// ahead for steps that did not run are dropped when the run stops.
//
// The run is the context of its requests and is made with new: it destroys itself once it has
// stopped, so a QPointer to it tells whether it is still going.
class StartupSteps : public QObject
{
    Q_OBJECT
public:
    explicit StartupSteps(IMainWindow& window, QObject* parent = nullptr);

    // Starts the password check; everything after it happens from the event loop.
    void start();

    // Stops the run: its requests are given up and nothing more of it is called. It goes at
    // once, or, while one of its steps runs (a box it showed is still open), when that step
    // returns.
    void giveUp();

private:
    using Checked = void (StartupSteps::*)(const ServiceOutcome&);

    void checkPassword();
    void passwordChecked(const ServiceOutcome& outcome);
    void checkVersion();
    void versionChecked(const ServiceOutcome& outcome);
    void checkReissue();
    void reissueChecked(const ServiceOutcome& outcome);
    void checkExisting();
    void existingChecked();

    // Runs a step of a run still going; a failure it raises stops the run as a failed step does.
    void guarded(const std::function<void()>& step);
    // The callback that hands a check's outcome to next, unless the run has gone meanwhile.
    std::function<void(const ServiceOutcome&)> then(Checked next);
    // Whether the run goes on after a check: a failed check stops it with its answer, an end of
    // the program asked for meanwhile stops it quietly.
    bool goesOn(const ServiceOutcome& outcome);
    void fail(const AppError& failure);
    void finish();

    IMainWindow& m_window;
    QString m_user;
    bool m_running = false;
    int m_stepsRunning = 0;
};

// Runs the main window's existing-report check, then has the window set its buttons from the
// outcome.
void RunExistingReportCheck(IMainWindow& window);
