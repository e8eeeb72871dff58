#include "core/MsgBox.h"

#include "core/LogMask.h"
#include "platform/LongText.h"
#include "platform/Seam.h"

namespace {
// Masked together with the shown text, so that a password straddling the cut is masked whole.
constexpr qsizetype kMaskMargin = 256;
} // namespace

int MsgBox(const QString& text, int style, const QString& title)
{
    // Masked before it is cut, so that no part of a password survives the cut; but only as far
    // as it can be shown, as masking a server's answer of megabytes would hold the window.
    const qsizetype masked = qMin(text.size(), MsgBoxTextLimit + kMaskMargin);
    return Seam<MessageBoxes>::get().show(
        CutLongText(MaskPasswords(text.left(masked)), MsgBoxTextLimit, text.size() - masked), style,
        MaskPasswords(title));
}
