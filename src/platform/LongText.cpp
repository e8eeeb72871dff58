#include "platform/LongText.h"

QString CutLongText(const QString& text, qsizetype keep, qsizetype beyond)
{
    if (text.size() <= keep && beyond == 0)
        return text;
    keep = qMin(keep, text.size());
    if (keep > 0 && keep < text.size() && text.at(keep - 1).isHighSurrogate())
        --keep;
    return text.left(keep) + QStringLiteral("... (%1 more characters not shown)").arg(text.size() - keep + beyond);
}
