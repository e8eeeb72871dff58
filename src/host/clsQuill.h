#pragma once

#include "host/clsInquiry.h"

#include <QString>

#include <memory>

// Reads the loan that the host program exports: one line of TAB-separated fields in
// EXPORT.DAT, Windows-1252 text.
class clsQuill
{
public:
    // Error numbers of a failed read, as the caller's "Import Error" box shows them.
    static constexpr long ErrFieldMissing = 9; // a field the layout needs is not on the line
    static constexpr long ErrFileNotFound = 53;
    static constexpr long ErrPastEnd = 62;    // the file is empty
    static constexpr long ErrFileAccess = 75; // the file exists but cannot be read

    // Reads the first line of vsFile (up to CR LF or LF) into a new inquiry, then cleans up the
    // loan's old report PDFs (their problems are reported by the clean-up and never fail the
    // read). 17 fields or fewer: short layout, names combined with suffix and middle initial;
    // 18 or more: long layout, name parts in fields 17 to 20. Throws AppError, with a number
    // above and a description naming the file or the missing field, when the file is missing,
    // unreadable or empty, or a field that the layout needs is missing.
    std::shared_ptr<clsInquiry> ReadQuillExportFile(const QString& vsFile);

    // Where the host program puts the export file: the receive folder followed by "EXPORT.DAT".
    static QString ExportFilePath();
    // Copies the export file to the archive folder under the current time stamp
    // ("MMDDYYYY_HHMMSS_EXPORT.DAT"), replacing a copy of the same second, and returns the copy's
    // path. Throws AppError naming the file when the copy fails.
    static QString ArchiveExportFile();

    // Splits a trailing suffix of at most 3 characters (JR, JR., III) off a last name, in
    // place; drops a comma left at the end of the name; trims both. Returns the suffix.
    static QString SplitSuffix(QString& rsName);
    // Splits a trailing middle initial of at most 2 characters (Q, Q.) off a first name, in
    // place. Returns the middle initial.
    static QString SplitMiddle(QString& rsName);
};
