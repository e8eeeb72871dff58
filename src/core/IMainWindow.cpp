#include "core/IMainWindow.h"

QString ButtonName(MainButton button)
{
    switch (button) {
    case MainButton::cmdRepull: return QStringLiteral("cmdRepull");
    case MainButton::cmdAddBureau: return QStringLiteral("cmdAddBureau");
    case MainButton::cmdView: return QStringLiteral("cmdView");
    case MainButton::cmdPrint: return QStringLiteral("cmdPrint");
    case MainButton::cmdImport: return QStringLiteral("cmdImport");
    case MainButton::cmdRMCR: return QStringLiteral("cmdRMCR");
    case MainButton::cmdWeb: return QStringLiteral("cmdWeb");
    case MainButton::cmdRequestSupp: return QStringLiteral("cmdRequestSupp");
    case MainButton::cmdClose: return QStringLiteral("cmdClose");
    }
    return QString();
}
