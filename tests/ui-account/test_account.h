#pragma once

#include "VendorSim.h"

#include <QObject>

// The settings window, driven through its controls against the stand-in server, and start-up
// with the real settings window.
class AccountWindowsTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void localValidationRefusesInOrder_data();
    void localValidationRefusesInOrder();
    void clickSelectsWholeText_data();
    void clickSelectsWholeText();
    void serverRefusalKeepsWindowOpen_data();
    void serverRefusalKeepsWindowOpen();
    void acceptedCredentialsAreStored_data();
    void acceptedCredentialsAreStored();
    void cancelAsksToQuit_data();
    void cancelAsksToQuit();
    void emptyStoreAtStartOpensSettingsWindow_data();
    void emptyStoreAtStartOpensSettingsWindow();

private:
    VendorSim m_sim;
};

// The change-password window, forced and by choice, against the stand-in server; start-up with
// an expired password.
class ChangePassTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void localChecksRefuseInOrder_data();
    void localChecksRefuseInOrder();
    void acceptedChangeIsSentAndStored_data();
    void acceptedChangeIsSentAndStored();
    void refusalShowsAnswerWithoutPasswords_data();
    void refusalShowsAnswerWithoutPasswords();
    void changeThatCannotBeStoredSaysSo();
    void leavingAsksOnlyWhenForced_data();
    void leavingAsksOnlyWhenForced();
    void policyHelpFromServerOrDefault_data();
    void policyHelpFromServerOrDefault();
    void expiredPasswordAtStart_data();
    void expiredPasswordAtStart();
    void droppedConnectionSendsOnce_data();
    void droppedConnectionSendsOnce();

private:
    VendorSim m_sim;
};

// The contact-information window against the stand-in server.
class ContactInfoTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void firstOpeningFetches_data();
    void firstOpeningFetches();
    void localChecksRefuseInOrder_data();
    void localChecksRefuseInOrder();
    void okSendsChangesOrNothing_data();
    void okSendsChangesOrNothing();

private:
    VendorSim m_sim;
};

// The about window and the system information command.
class AboutTest : public QObject
{
    Q_OBJECT
private slots:
    void labelsAndLogo_data();
    void labelsAndLogo();
    void systemInformationProgram_data();
    void systemInformationProgram();
};
