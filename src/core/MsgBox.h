#pragma once

#include "platform/MessageBoxes.h"

#include <QString>

// The longest text a box shows; a longer one (a server's answer quoted whole) is cut, with a
// note of how many characters were left out.
constexpr qsizetype MsgBoxTextLimit = 4000;

// Every message box of the program goes through here. Passwords are masked on the way, and the
// text is cut to MsgBoxTextLimit characters. The box itself is the MessageBoxes seam's.
int MsgBox(const QString& text, int style = vbOKOnly, const QString& title = QString());
