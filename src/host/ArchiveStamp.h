#pragma once

#include <QString>

// The time stamp put in front of a file name in the archive folder: the desktop clock's local
// time as "MMDDYYYY_HHMMSS_" (12052026_134340_ for 1:43:40 pm on 5 December 2026).
QString ArchiveStamp();
