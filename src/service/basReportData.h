#pragma once

#include "platform/HttpPolicy.h"
#include "service/ServiceOutcome.h"

#include <QString>

class QObject;

// GET_DATA: the report's liabilities in the host program's import format, written to
// SendDir + "IMPORT.DAT".
//
// On entry rsFile is the loan file's full path; it replaces every "__XFILE__" of the answer.
// The file is written whole in Windows-1252 ("?" for a character the code page cannot hold),
// replacing an earlier one; on success rsFile is its path. A refusal ("FAILED..."), a page
// instead of an answer, an empty answer, a transport or write failure: false, rsFile the error
// text (also in errors.log), and an earlier IMPORT.DAT stays as it was. Nothing is shown.
// The same for a text longer than ImportTextLimit once the loan file is put in.

// GetData without waiting, for the loan file at loanFile: done hears the path of IMPORT.DAT as
// the answer, or the failure, its error text logged as above.
void GetData(const QString& block, const QString& loanFile, QObject* context, ServiceReply done);

// The longest import text, in characters, once the loan file is put in: as long as the
// longest text answer the transport takes. A longer one is a failure; nothing is written.
constexpr qint64 ImportTextLimit = HttpPolicy::TextAnswerLimit;
