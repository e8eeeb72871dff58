#pragma once

#include <QDate>
#include <QString>

// The one reader of dates written by the host program, the vendor's server and the user: birth
// dates when a loan is loaded and when it is shown, request dates of found reports, and the
// dates an order sends. Blanks (any white space) around the text are ignored. Accepted forms:
//
//   M/D/YYYY  or  M-D-YYYY        month and day with one or two digits, the same separator
//                                 twice, a four-digit year;
//   either of them followed by a blank and a time: H:MM or H:MM:SS on the 24-hour clock, or
//   with AM or PM (any letter case, blank before it optional) on the 12-hour clock;
//   YYYY-MM-DD                    the ISO form, optionally followed by "T" or a blank and
//                                 HH:MM:SS.
//
// Only ASCII digits count. A date or time that does not exist (2/30/2026, 13:00 PM) is no date.
// Returns an invalid QDate for anything else.
QDate ParseDate(const QString& text);

// The date of text in the form "MM/dd/yyyy" (two-digit month and day, four-digit year); empty
// when text is not a date by ParseDate.
QString FormatDate(const QString& text);

// A date for an order block: empty stays empty (ok true); a date by ParseDate becomes
// "MM/dd/yyyy"; anything else gives the empty text and ok false.
QString GetDate(const QString& value, bool& ok);
