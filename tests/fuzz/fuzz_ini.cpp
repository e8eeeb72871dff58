// Fuzzes the INI-like files a user or another program may have edited: the input is written as
// WINQUILL.INI, Config.ini and the per-user settings store, and read as start-up does. Properties
// only: every profile value fits its buffer and has no blanks at its ends, the folder count stays
// within its 100 keys, a loaded base address keeps its scheme, a load failure has a number and a
// description, and each of the first lines saved as a value reads back unchanged. The working
// folders always point into the run's temporary folder, so loading never creates one elsewhere.
//
//   build-fuzz/bin/fuzz_ini -max_total_time=600 corpus/ini

#include "FuzzSupport.h"
#include "core/AppContext.h"
#include "core/basSettings.h"
#include "core/clsConfig.h"
#include "core/clsProperties.h"
#include "platform/AppError.h"
#include "platform/ProfileIni.h"
#include "platform/SettingsStore.h"

#include <cstdint>

namespace {

const QString kApp = QStringLiteral("OQCREDIT"), kMain = QStringLiteral("Main");

void write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

void checkProfile()
{
    const clsConfig config;
    const qint16 count = config.nQuillFolderCount();
    fuzz::Require(count >= 0 && count <= 100, "folder count out of range", QString::number(count));
    for (qint16 n = 0; n <= count + 1; ++n) {
        const QString folder = config.QuillAppDataFolder(n);
        fuzz::Require(folder.size() <= 100 && (n < 1 || n > count || folder.endsWith(QLatin1Char('\\'))),
                      "a data folder longer than its buffer or without its backslash", folder);
    }
    for (const QString& value : {config.sQuillAppTitle(), config.sConfigServerIP(), config.sConfigPassword()})
        fuzz::Require(value.size() <= 149 && !value.startsWith(QLatin1Char(' ')) && !value.endsWith(QLatin1Char(' ')),
                      "a value longer than its buffer or with blanks at its ends", value);
    const QString direct = GetPrivateProfileString("Directories", "Folder0", "default", 8, fuzz::Path("windows/WINQUILL.INI"));
    fuzz::Require(direct.size() <= 7, "a read longer than its buffer", direct);
}

void checkSettings(const QByteArray& input)
{
    for (const char* key : {"SendDir", "ReceiveDir", "ArchiveDir"})
        SettingsStore::SaveSetting(kApp, kMain, QString::fromLatin1(key), fuzz::Path("home/") + QLatin1String(key));
    SetProps(std::make_shared<clsProperties>());
    try {
        LoadSettings(Props());
        fuzz::Require(Props().BaseUrl().startsWith(QLatin1String("http"), Qt::CaseInsensitive), "a base address without its scheme", Props().BaseUrl());
    } catch (const AppError& e) {
        fuzz::Require(e.Number != 0 && !e.Description.isEmpty(), "a load failure without a number or a description", e.Description);
    }
    for (const QByteArray& line : input.split('\n').mid(0, 4)) {
        SettingsStore::SaveSetting(kApp, kMain, QStringLiteral("UserName"), QString::fromUtf8(line));
        const QString back = SettingsStore::GetSetting(kApp, kMain, QStringLiteral("UserName"), QStringLiteral("<absent>"));
        fuzz::Require(back == QString::fromUtf8(line), "a saved value reads back differently", QString::fromUtf8(line) + " -> " + back);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    return fuzz::Setup() && QDir().mkpath(fuzz::Path("config/QuillClient")) ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = fuzz::Bytes(data, size);
    write(fuzz::Path("windows/WINQUILL.INI"), input);
    write(fuzz::Path("home/Config.ini"), input);
    write(SettingsStore::StoreFile(kApp), input);
    checkProfile();
    checkSettings(input);
    fuzz::TrimLogs();
    return 0;
}
