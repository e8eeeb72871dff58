#include "core/MsgBox.h"

#include "core/LogMask.h"
#include "platform/LongText.h"
#include "platform/Seam.h"

int MsgBox(const QString& text, int style, const QString& title)
{
    // Masked before it is cut, so that no part of a password survives the cut.
    return Seam<MessageBoxes>::get().show(CutLongText(MaskPasswords(text), MsgBoxTextLimit), style,
                                          MaskPasswords(title));
}
