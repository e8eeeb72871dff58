// Fuzzes the profile-string reads of WINQUILL.INI and Config.ini: the input is written as both
// files and the host configuration is read from them, as start-up does. Properties only: every
// value fits its buffer and has no blanks at its ends, the folder count stays within its 100 keys.
//
//   build-fuzz/bin/fuzz_profile -max_total_time=600 corpus/profile

#include "FuzzSupport.h"
#include "core/clsConfig.h"
#include "platform/ProfileIni.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    for (const char* path : {"windows/WINQUILL.INI", "home/Config.ini"}) {
        QFile file(fuzz::Path(path));
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(fuzz::Bytes(data, size));
    }
    const clsConfig config;
    const qint16 count = config.nQuillFolderCount();
    fuzz::Require(count >= 0 && count <= 100, "folder count out of range", QString::number(count));
    for (qint16 n = 0; n <= count + 1; ++n) {
        const QString folder = config.QuillAppDataFolder(n);
        fuzz::Require(folder.size() <= 100 && (n < 1 || n > count || folder.endsWith('\\')),
                      "a data folder longer than its buffer or without its backslash", folder);
    }
    for (const QString& value : {config.sQuillAppTitle(), config.sConfigServerIP(), config.sConfigPassword()})
        fuzz::Require(value.size() <= 149 && !value.startsWith(' ') && !value.endsWith(' '),
                      "a value longer than its buffer or with blanks at its ends", value);
    const QString direct =
        GetPrivateProfileString("Directories", "Folder0", "default", 8, fuzz::Path("windows/WINQUILL.INI"));
    fuzz::Require(direct.size() <= 7, "a read longer than its buffer", direct);
    return 0;
}
