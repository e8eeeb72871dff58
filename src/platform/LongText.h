#pragma once

#include <QString>

// A text cut to its first `keep` characters, followed by "... (N more characters not shown)";
// a text of at most `keep` characters comes back as it is. A character made of two UTF-16
// units is never split. `beyond` more characters followed the text given (left out before it
// was given) and are counted with the rest.
QString CutLongText(const QString& text, qsizetype keep, qsizetype beyond = 0);
