#pragma once

#include <QObject>

class LogsTest : public QObject
{
    Q_OBJECT
private slots:
    void errorLogIsCreatedThenAppended();
    void clientLogStampIsFixedForm();
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
    void emptyServerAndWebsiteUseFixedAddress();
    void serverUrlSetsBaseUrl_data();
    void serverUrlSetsBaseUrl();
    void saveAndLoadRoundTrip_data();
    void saveAndLoadRoundTrip();
    void malformedNumberFailsNamingKey_data();
    void malformedNumberFailsNamingKey();
    void loginByRefKeepsFirstAnswer();
    void loadingNeverLogsPassword();
    void storeFoldersFromBackslashPaths();
};

class MainTest : public QObject
{
    Q_OBJECT
private slots:
    void commandLineSelectsMode_data();
    void commandLineSelectsMode();
    void emptyStoreOpensSettingsWindow();
    void vendorNameSelectsLogo_data();
    void vendorNameSelectsLogo();
    void failedStepShowsErrorInMain();
    void existingReportSetsButtons_data();
    void existingReportSetsButtons();
};
