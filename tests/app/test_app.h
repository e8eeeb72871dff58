#pragma once

#include <QObject>

#include <memory>

class VendorSim;

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

// Start-up against the stand-in server, with a recording main window.
class MainTest : public QObject
{
    Q_OBJECT
public:
    MainTest();
    ~MainTest() override;

private slots:
    void initTestCase();
    void init();
    void commandLineSelectsMode_data();
    void commandLineSelectsMode();
    void emptyStoreOpensSettingsWindow();
    void vendorNameSelectsLogo_data();
    void vendorNameSelectsLogo();
    void failedStepShowsErrorInMain();
    void existingReportSetsButtons_data();
    void existingReportSetsButtons();
    void accountChecksRunInOrder_data();
    void accountChecksRunInOrder();
    void failedAccountCheckStopsStartup_data();
    void failedAccountCheckStopsStartup();

private:
    void storeCompleteSettings(const QString& user = QStringLiteral("demo"));
    std::unique_ptr<VendorSim> m_sim;
};
