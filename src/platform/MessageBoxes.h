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
    // Shows a modal box with text as plain text and returns the answer (a MsgBoxResult). The
    // program's boxes come through MsgBox (core/MsgBox.h), which masks and cuts their texts first.
    virtual int show(const QString& text, int style, const QString& title);
};
