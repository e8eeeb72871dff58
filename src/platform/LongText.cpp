#include "platform/LongText.h"

QString CutLongText(const QString& text, qsizetype keep)
{
    if (text.size() <= keep)
        return text;
    if (keep > 0 && text.at(keep - 1).isHighSurrogate())
        --keep;
    return text.left(keep) + QStringLiteral("... (%1 more characters not shown)").arg(text.size() - keep);
}
