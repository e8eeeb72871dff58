#pragma once

#include <QString>

// The two logs in the program's folder, "errors.log" and "Client.log", and the error text.
// Every entry is masked on its way to disk: no password, only the last four digits of a social
// security number and at most the year of a birth date (MaskForLog). Its text is cut after 8192
// characters, with a note of how many more there were. Both files are owner-only.

// Appends "Date: <general date> <text>" CR LF to errors.log. False when it could not be written.
bool WriteErrorLog(const QString& text);

// Appends "[ mm.dd.yyyy hh.nn.ss ]  <text>" CR LF to Client.log. Throws AppError when the file
// cannot be opened or written, so the caller's handler sees the failure.
void WriteClientLog(const QString& text);

// <ERROR><ERROR_NO>..</ERROR_NO><ERROR_DESC>..</ERROR_DESC><ERROR_SOURCE>..</ERROR_SOURCE>
// [<INFO><![CDATA[..]]></INFO>]</ERROR>, values inserted unchanged.
QString BuildErrorXML(const QString& source, const QString& description, long number, const QString& info = QString());

// The error log's stamp: short date, a blank, long time, in the user's regional settings.
QString GeneralDate(const class QDateTime& moment);
