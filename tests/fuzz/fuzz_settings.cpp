// Fuzzes the per-user settings store file as a user or another program may have edited it: it
// is read by LoadSettings, and then each of its first lines is saved as a value. Properties only:
// a loaded base address keeps its scheme, a load failure has a number and a description, a saved
// value reads back unchanged. The working folders always point into the run's temporary folder,
// so loading never creates one elsewhere.
//
//   build-fuzz/bin/fuzz_settings -max_total_time=600 corpus/settings

#include "FuzzSupport.h"
#include "core/AppContext.h"
#include "core/basSettings.h"
#include "core/clsProperties.h"
#include "platform/AppError.h"
#include "platform/SettingsStore.h"

#include <cstdint>

const QString kApp = "OQCREDIT", kMain = "Main";

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = fuzz::Bytes(data, size);
    QFile file(SettingsStore::StoreFile(kApp));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(input), file.close();
    for (const char* key : {"SendDir", "ReceiveDir", "ArchiveDir"})
        SettingsStore::SaveSetting(kApp, kMain, QString::fromLatin1(key), fuzz::Path("home/") + QLatin1String(key));
    SetProps(std::make_shared<clsProperties>());
    try {
        LoadSettings(Props());
        fuzz::Require(Props().BaseUrl().startsWith("http", Qt::CaseInsensitive), "a base address without its scheme",
                      Props().BaseUrl());
    } catch (const AppError& e) {
        fuzz::Require(e.Number != 0 && !e.Description.isEmpty(), "a load failure without a number or a description",
                      e.Description);
    }
    for (const QByteArray& line : input.split('\n').mid(0, 4)) {
        SettingsStore::SaveSetting(kApp, kMain, "UserName", QString::fromUtf8(line));
        const QString back = SettingsStore::GetSetting(kApp, kMain, "UserName", "<absent>");
        fuzz::Require(back == QString::fromUtf8(line), "a saved value reads back differently",
                      QString::fromUtf8(line) + " -> " + back);
    }
    fuzz::TrimLogs();
    return 0;
}
