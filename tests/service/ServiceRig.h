#pragma once

#include "ReportFixture.h"
#include "ScriptedMsgBox.h"
#include "ShellRecorder.h"
#include "VendorSim.h"
#include "service/basActions.h"
#include "service/clsReportStatus.h"

#include <QMetaType>
#include <QString>

using Operation = bool (*)(const QString&, QString&);
Q_DECLARE_METATYPE(Operation)

// One service test's surroundings: the demo loan's folders and settings against the stand-in
// server (ReportFixture), a desktop that shows nothing and scripted message boxes.
struct ServiceRig {
    explicit ServiceRig(VendorSim& sim) : loan((sim.reset(), sim.baseUrl())) {}
    ReportFixture loan;
    FakeDesktop desk;
    ScriptedMsgBox boxes;

    QByteArray log() const { return loan.env.readFile("errors.log"); }
    int logEntries() const { return int(log().count("Date: ")); }
};

// A search as an operation: its answer, with the report id it read appended.
inline bool findReportAnswer(const QString& block, QString& answer)
{
    std::shared_ptr<clsReportStatus> status;
    const bool result = FindReport(block, status, answer);
    if (status && !status->sReportID().isEmpty())
        answer += "|report id " + status->sReportID();
    return result;
}

inline QString errorStart(long number)
{
    return "<ERROR><ERROR_NO>" + QString::number(number) + "</ERROR_NO>";
}

// The password of every test's settings; it never reaches errors.log.
#define QUILL_CHECK_NO_PASSWORD_LOGGED(rig)                                                    \
    QVERIFY2(!(rig)->log().contains(ReportFixture::Password.toUtf8()), "a password reached errors.log")
