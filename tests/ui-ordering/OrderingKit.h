#pragma once

// What the ordering windows' tests share: the headers they use and the one test class of the main
// window's tests. Headers the ones below already bring (the rigs, the recorders, the settings, the
// loan session) are not repeated.

#include "ModalDriver.h"
#include "ReportFixture.h"
#include "RunTests.h"
#include "ScreenRig.h"
#include "app/basMain.h"
#include "service/ParamBlock.h"
#include "service/basOrder.h"
#include "service/clsReportStatus.h"
#include "ui/ordering/OrderingWindows.h"
#include "ui/ordering/frmCheckExisting.h"
#include "ui/ordering/frmLoginByRef.h"
#include "ui/ordering/frmMain.h"
#include "ui/ordering/frmPullReport.h"
#include "ui/ordering/frmReissue.h"
#include "ui/ordering/frmStatus.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

// The main window's tests, each file defining its own slots: the buttons' rule, the pages and
// menus, the check for an existing report, View, Print and Import.
class OrderingTests : public QObject
{
    Q_OBJECT
    VendorSim m_sim; // for the commands, run on a main window of their own without start-up

private slots:
    void initTestCase() { QVERIFY2(m_sim.start(), "the stand-in vendor server did not start"); }
    void buttonRules_data();
    void buttonRules();
    void pages_data();
    void pages();
    void reloadRunsStartupAgain();
    void boxesSelectAllOnFocus();
    void outcomes_data();
    void outcomes();
    void commands_data();
    void commands();
};
