#pragma once

#include "service/ServiceOutcome.h"
#include "service/basPrefetch.h"

#include <QList>
#include <QString>

class QObject;

// The account data refreshed after a search for an existing report, in this order; the
// later ones send the department that GETDEPARTMENTID has just stored.
struct RefreshStep {
    void (*operation)(const QString& block, QObject* context, ServiceReply done);
    const char* name; // the operation's name
    const char* action;
    bool sendsDepartment;
};

const QList<RefreshStep>& AccountRefreshSteps();

// Whether step is the one of action ("GETDEPARTMENTID").
bool IsRefreshOf(const RefreshStep& step, const char* action);

// The step's block: USER, and DEPARTMENTID = department where the step sends it.
QString AccountRefreshBlock(const RefreshStep& step, const QString& user, const QString& department);

// Sends the refresh reads ahead: those without the department at once; those with it once
// the department is known: with the current DepartmentID when it is set, and with the
// department that the GETDEPARTMENTID read sent ahead answers as soon as it arrives (the
// value its step will store), so that they never wait for the steps before it.
void PrefetchAccountRefresh();

// Sends the reads that carry the department with the current DepartmentID (after its step
// stored it), except those already held.
void PrefetchDepartmentReads();

// The request-date and status blocks of a found report.
QString DateRequestedBlock(const QString& reportID);
QString ReportStatusBlock(const QString& reportID);
