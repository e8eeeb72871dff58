// Fuzzes the profile-string reads of WINQUILL.INI and Config.ini: the input is written as both
// files and the host configuration is read from them, as start-up does. Properties only: every
// value fits its buffer, the folder count stays within its 100 keys.
//
//   build-fuzz/bin/fuzz_profile -max_total_time=600 corpus/profile

#include "FuzzSupport.h"
#include "core/clsConfig.h"
#include "platform/ProfileIni.h"

#include <QFile>

#include <cstdint>

namespace {

void write(const char* relative, const QByteArray& bytes)
{
    QFile file(fuzz::Path(relative));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    return fuzz::Setup() ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    write("windows/WINQUILL.INI", input);
    write("home/Config.ini", input);

    const clsConfig config;
    if (config.nQuillFolderCount() < 0 || config.nQuillFolderCount() > 100)
        fuzz::Broken("folder count out of range", QString::number(config.nQuillFolderCount()));
    for (qint16 n = 0; n <= config.nQuillFolderCount() + 1; ++n) {
        const QString folder = config.QuillAppDataFolder(n);
        if (folder.size() > 100 || (n >= 1 && n <= config.nQuillFolderCount() && !folder.endsWith(QLatin1Char('\\'))))
            fuzz::Broken("a data folder longer than its buffer or without its backslash", folder);
    }
    for (const QString& value : {config.sQuillAppTitle(), config.sConfigServerIP(), config.sConfigPassword()})
        if (value.size() > 149 || value.startsWith(QLatin1Char(' ')) || value.endsWith(QLatin1Char(' ')))
            fuzz::Broken("a value longer than its buffer or with blanks at its ends", value);
    const QString direct = GetPrivateProfileString(QStringLiteral("Directories"), QStringLiteral("Folder0"),
                                                   QStringLiteral("default"), 8, fuzz::Path("windows/WINQUILL.INI"));
    if (direct.size() > 7)
        fuzz::Broken("a read longer than its buffer", direct);
    return 0;
}
