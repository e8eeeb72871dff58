#pragma once

#include <QString>

// Button sets, icons and answers, with the classic values callers and tests compare against.
enum MsgBoxStyle : int {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbAbortRetryIgnore = 2,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbRetryCancel = 5,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
};
enum MsgBoxResult : int { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };

class MessageBoxes
{
public:
    virtual ~MessageBoxes() = default;
    // Shows a modal box and returns the answer (a MsgBoxResult).
    virtual int show(const QString& text, int style, const QString& title);
};

// The longest text a box shows; a longer one (a server's answer quoted whole) is cut, with a
// note of how many characters were left out.
constexpr qsizetype MsgBoxTextLimit = 4000;

// Every message box of the program goes through here. Passwords are masked on the way, and the
// text is cut to MsgBoxTextLimit characters. Boxes show their text as plain text.
int MsgBox(const QString& text, int style = vbOKOnly, const QString& title = QString());
