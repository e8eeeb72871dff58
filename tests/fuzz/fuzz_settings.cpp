// Fuzzes settings values: the input is the per-user store file itself (INI text, as a user or
// another program may have edited it), read by LoadSettings, and then each of its lines is
// saved as a value and must read back unchanged. The three working folders always point into
// the run's temporary folder, so loading never creates a folder elsewhere.
//
//   build-fuzz/bin/fuzz_settings -max_total_time=600 corpus/settings

#include "FuzzSupport.h"
#include "core/AppContext.h"
#include "core/basSettings.h"
#include "core/clsProperties.h"
#include "platform/AppError.h"
#include "platform/SettingsStore.h"

#include <QFile>

#include <cstdint>

namespace {

const QString kApp = QStringLiteral("OQCREDIT");
const QString kMain = QStringLiteral("Main");

void writeStore(const QByteArray& bytes)
{
    QDir().mkpath(fuzz::Path("config/QuillClient"));
    QFile file(SettingsStore::StoreFile(kApp));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
    for (const char* key : {"SendDir", "ReceiveDir", "ArchiveDir"})
        SettingsStore::SaveSetting(kApp, kMain, QString::fromLatin1(key), fuzz::Path("home/") + QLatin1String(key));
}

void checkLoad()
{
    SetProps(std::make_shared<clsProperties>());
    try {
        LoadSettings(Props());
        if (!Props().BaseUrl().startsWith(QLatin1String("http"), Qt::CaseInsensitive))
            fuzz::Broken("a base address without its scheme", Props().BaseUrl());
    } catch (const AppError& e) {
        if (e.Number == 0 || e.Description.isEmpty())
            fuzz::Broken("a load failure without a number or a description", e.Description);
    }
}

void checkRoundTrip(const QString& value)
{
    SettingsStore::SaveSetting(kApp, kMain, QStringLiteral("UserName"), value);
    const QString back = SettingsStore::GetSetting(kApp, kMain, QStringLiteral("UserName"), QStringLiteral("<absent>"));
    if (back != value)
        fuzz::Broken("a saved value reads back differently", value + QStringLiteral(" -> ") + back);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    return fuzz::Setup() ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static unsigned long runs = 0;
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    writeStore(input);
    checkLoad();
    for (const QByteArray& line : input.split('\n').mid(0, 4))
        checkRoundTrip(QString::fromUtf8(line));
    fuzz::TrimLogs(++runs);
    return 0;
}
