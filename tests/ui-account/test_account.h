#pragma once

#include <QObject>

// The settings window, driven through its controls against the stand-in server, and start-up
// with the real settings window.
class AccountWindowsTest : public QObject
{
    Q_OBJECT
private slots:
    void localValidationRefusesInOrder_data();
    void localValidationRefusesInOrder();
    void okOutcomes_data();
    void okOutcomes();
    void cancelAsksToQuit_data();
    void cancelAsksToQuit();
    void emptyStoreAtStartOpensSettingsWindow_data();
    void emptyStoreAtStartOpensSettingsWindow();
};

// The change-password window, forced and by choice, against the stand-in server; start-up with
// an expired password.
class ChangePassTest : public QObject
{
    Q_OBJECT
private slots:
    void localChecksRefuseInOrder_data();
    void localChecksRefuseInOrder();
    void okOutcomes_data();
    void okOutcomes();
    void leavingAsksOnlyWhenForced_data();
    void leavingAsksOnlyWhenForced();
    void policyHelpFromServerOrDefault_data();
    void policyHelpFromServerOrDefault();
    void droppedConnectionSendsOnce_data();
    void droppedConnectionSendsOnce();
    void expiredPasswordAtStart_data();
    void expiredPasswordAtStart();
};

// The contact-information window against the stand-in server.
class ContactInfoTest : public QObject
{
    Q_OBJECT
private slots:
    void firstOpeningFetches_data();
    void firstOpeningFetches();
    void okOutcomes_data();
    void okOutcomes();
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
