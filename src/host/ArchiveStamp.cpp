#include "host/ArchiveStamp.h"

#include "platform/Desktop.h"

QString ArchiveStamp()
{
    return TheDesktop().Now().toString(QStringLiteral("MMddyyyy_HHmmss_"));
}
