#pragma once

#include <QString>

// GET_DATA: the report's liabilities in the host program's import format, written to
// SendDir + "IMPORT.DAT".
//
// On entry rsFile is the loan file's full path; it replaces every "__XFILE__" of the answer.
// The file is written whole in Windows-1252 ("?" for a character the code page cannot hold),
// replacing an earlier one; on success rsFile is its path. A refusal ("FAILED..."), a page
// instead of an answer, an empty answer, a transport or write failure: false, rsFile the error
// text (also in errors.log), and an earlier IMPORT.DAT stays as it was. Nothing is shown.
bool GetData(const QString& block, QString& rsFile);
