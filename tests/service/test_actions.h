#pragma once

#include <QObject>

#include <functional>

class VendorSim;
class TestEnv;
class FakeDesktop;
class ScriptedMsgBox;

// Operations against the stand-in vendor server on 127.0.0.1.
class ActionsTest : public QObject
{
    Q_OBJECT
public:
    ActionsTest();
    ~ActionsTest() override;

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void requestTargets_data();
    void requestTargets();
    void valuesArriveUnchanged_data();
    void valuesArriveUnchanged();
    void answers_data();
    void answers();
    void passwordExpired_data();
    void passwordExpired();
    void newerVersion_data();
    void newerVersion();
    void loginByReference_data();
    void loginByReference();
    void findReport_data();
    void findReport();
    void transportFailures_data();
    void transportFailures();
    void requestStartedWhileWaitingIsRefused();

private:
    int logEntries() const;
    VendorSim* m_sim = nullptr;
    TestEnv* m_env = nullptr;
    FakeDesktop* m_desk = nullptr;
    ScriptedMsgBox* m_boxes = nullptr;
    std::function<void(bool)> m_showChangePassword;
    std::function<void()> m_endProgram;
};
