#pragma once

#include "VendorSim.h"

#include <QObject>

class LogsTest : public QObject
{
    Q_OBJECT
private slots:
    void logsAppendWithTheirStamps();
    void errorText_data();
    void errorText();
    void logsMaskSecrets_data();
    void logsMaskSecrets();
    void messageBoxesMaskPasswords();
    void clientLogFailureReachesCaller();
};

class SettingsTest : public QObject
{
    Q_OBJECT
private slots:
    void emptyStoreGivesDefaults();
    void serverUrlSetsBaseUrl_data();
    void serverUrlSetsBaseUrl();
    void saveAndLoadRoundTrip_data();
    void saveAndLoadRoundTrip();
    void malformedNumberFailsNamingKey_data();
    void malformedNumberFailsNamingKey();
    void loginByRefKeepsFirstAnswer();
    void loadingNeverLogsPassword();
};

// Start-up against the stand-in server, with a recording main window.
class MainTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void commandLineSelectsMode_data();
    void commandLineSelectsMode();
    void storedSettingsStartNormally_data();
    void storedSettingsStartNormally();
    void existingReportSetsButtons();
    void failedStepShowsErrorInMain_data();
    void failedStepShowsErrorInMain();
    void newsPageOpensWithoutWaiting();
    void restartWaitsForNestedLoops();

private:
    VendorSim m_sim;
};

// What only Windows has: the registry branch of the store, the Windows folder, the shell's codes.
class WindowsTest : public QObject
{
    Q_OBJECT
private slots:
    void shellResultsAreClassicCodes_data();
    void shellResultsAreClassicCodes();
    void storeIsTheClassicRegistryBranch();
    void windowsFolderIsTheSystemsUnlessMoved();
    void realShellReportsNoAssociation_data();
    void realShellReportsNoAssociation();
    void systemInformationFoundThroughRegistry();
};
