#pragma once

#include "platform/Desktop.h"
#include "service/ServiceOutcome.h"

#include <QString>

class OrderWatch;
class QObject;

// The report's PDF: waiting for it at the vendor, downloading it into the host program's
// borrower folder, and handing it to the desktop's viewer or a printer.

// GET_PDF once for the report in the parameter block: one poll of the PDF wait. done hears the
// server's answer as sent, a page included; nothing is shown or logged here. Silent when the
// block does not convert (already shown and logged, the conversion's text as error text); a
// transport failure is passed on.
void PollPDF(const QString& block, QObject* context, ServiceReply done);

// GET_PDF for the report in the parameter block, without waiting. The PDF wait is an OrderWatch
// (PDF mode, a child of context, returned so that a window can show it and abort it; nullptr
// when the block does not convert) polling the report (PollPDF) until the answer is no longer
// "PENDING"; line 1 of the last answer is the PDF's path below BaseUrl. The PDF is saved whole,
// owner-only, under the first free name of UniqueFileName(first data folder + "BORROWER\",
// vsFileName, "pdf"), taken by creating the file exclusively (FreeFileName): a file that another
// client saves under the chosen name meanwhile is never replaced. done hears:
//  - answered with the saved PDF's path;
//  - answered with an empty path when the wait was aborted (the user closed it);
//  - silent with the conversion's text when the block does not convert, nothing shown;
//  - any other failure (a refusal, a page instead of an answer, an address that leaves the
//    server, a body that is not a PDF, a missing BORROWER folder, a file name that is a path,
//    a transport or write failure): the failure after the "Error" box with the progress trace,
//    its error text and the trace in errors.log, no file written.
OrderWatch* GetReportPDF(const QString& block, const QString& vsFileName, QObject* context, ServiceReply done);

// Opens (verb "open") or prints (verb "print") the PDF at path. A print goes to the printer of
// choice when one is given (to its output file when that is set), else to the default printer.
// A failure shows "There was a problem showing report - ..." with the shell's error text; a
// successful print shows "Print was successful.".
void ShowReport(const QString& path, const QString& verb, const Desktop::PrinterChoice* choice = nullptr);
