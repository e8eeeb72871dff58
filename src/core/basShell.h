#pragma once

#include <QString>
#include <QVariant>

// Explains the code of a failed shell open: the code as text, directly followed by its
// "- ..." explanation ("2- The specified file was not found."). 2 and 2.0 read the same.
QString ShellErrorText(const QVariant& code);
