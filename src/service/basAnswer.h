#pragma once

#include <QString>
#include <QStringList>

// Reading server answers. Failures raise AppError with the classic numbers: 9 for a missing
// line or field, 13 for a value of the wrong kind, 6 for a number out of range.
namespace Answer {

// Lines split at each line feed; a carriage return before it stays part of the line.
QStringList Lines(const QString& answer);

// Element index of parts, or AppError 9 when there is none.
QString At(const QStringList& parts, qsizetype index);

// The words true and false in any letter case, or a number (0 false, anything else true);
// blanks around the text are ignored. Anything else is AppError 13.
bool TruthValue(const QString& text);

// A whole number from -32768 to 32767; white space around it is ignored.
qint16 Int16(const QString& text);

// Blanks (only blanks) removed from both ends.
QString TrimBlanks(const QString& text);

} // namespace Answer
