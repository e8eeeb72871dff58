#pragma once

#include <QObject>

#include <memory>

class VendorSim;

// The settings window, driven through its controls against the stand-in server.
class PrefsTest : public QObject
{
    Q_OBJECT
public:
    PrefsTest();
    ~PrefsTest() override;

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void loadShowsStoredAccount_data();
    void loadShowsStoredAccount();
    void showingFocusesFirstEmptyBox_data();
    void showingFocusesFirstEmptyBox();
    void focusedBoxSelectsItsText();
    void localValidationRefusesInOrder_data();
    void localValidationRefusesInOrder();
    void serverRefusalKeepsWindowOpen_data();
    void serverRefusalKeepsWindowOpen();
    void acceptedCredentialsAreStored_data();
    void acceptedCredentialsAreStored();
    void leavingAsksToQuit_data();
    void leavingAsksToQuit();
    void resetDeletesStoredAccountOnly();
    void userCancelledUnloadsSilently();

private:
    std::unique_ptr<VendorSim> m_sim;
};

// Start-up with the real account windows: the settings window and the expired-password window.
class StartupAccountTest : public QObject
{
    Q_OBJECT
public:
    StartupAccountTest();
    ~StartupAccountTest() override;

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void settingsWindowAtStartThenChecks();
    void quittingSettingsWindowSkipsChecks();
    void expiredPasswordWindow_data();
    void expiredPasswordWindow();

private:
    std::unique_ptr<VendorSim> m_sim;
};
