#pragma once

#include <QObject>

class LogsTest : public QObject
{
    Q_OBJECT
private slots:
    void logsAppendWithTheirStamps();
    void errorText();
    void logsMaskSecrets_data();
    void logsMaskSecrets();
    void failuresReachCallerAndBoxesMaskPasswords();
};

class SettingsTest : public QObject
{
    Q_OBJECT
private slots:
    void loading_data();
    void loading();
    void savesOnceAndReadsBack_data();
    void savesOnceAndReadsBack();
    void programFolderFromEnvironment_data();
    void programFolderFromEnvironment();
};

// Start-up against the stand-in server, with a recording main window.
class MainTest : public QObject
{
    Q_OBJECT
private slots:
    void startsByCommandLine_data();
    void startsByCommandLine();
    void failedStepShowsErrorInMain_data();
    void failedStepShowsErrorInMain();
    void newsPageOpensWithoutWaiting();
    void restartWaitsForNestedLoops();
};

// The real desktop: what only Windows has (the registry branch of the store, the Windows folder,
// the shell's codes) and the printer dialog.
class WindowsTest : public QObject
{
    Q_OBJECT
private slots:
    void shellResultsAreClassicCodes_data();
    void shellResultsAreClassicCodes();
    void printerDialogGivesTheChoice();
    void storeIsTheClassicRegistryBranch();
    void windowsFolderIsTheSystemsUnlessMoved();
    void realShellReportsNoAssociation_data();
    void realShellReportsNoAssociation();
    void systemInformationFoundThroughRegistry();
};
