#pragma once

// Shared pieces of the fuzz targets: a private temporary program folder, message boxes that
// answer OK without showing anything, and the way a target reports a broken property.

#include "platform/MessageBoxes.h"
#include "platform/Seam.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <cstdlib>

namespace fuzz {

struct SilentBoxes : MessageBoxes {
    int show(const QString&, int, const QString&) override { return vbOK; }
};

// The temporary folder of this run (created by LLVMFuzzerInitialize()), and a path in it.
inline QByteArray& Root()
{
    static QByteArray root;
    return root;
}
inline QString Path(const char* relative)
{
    return QString::fromLocal8Bit(Root() + "/" + relative);
}

// Makes the temporary folder, points the program's folders into it, installs silent message
// boxes and removes the folder at exit. libFuzzer runs it before any input; not inline, so that
// libFuzzer finds it: each target is a single source file including this once.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    char pattern[] = "/tmp/quill-fuzz-XXXXXX";
    if (!mkdtemp(pattern))
        return 1;
    Root() = pattern;
    for (const char* sub : {"home", "config/QuillClient", "windows", "loans"})
        QDir().mkpath(Path(sub));
    qputenv("QUILLCLIENT_HOME", Root() + "/home");
    qputenv("QUILLCLIENT_CONFIG", Root() + "/config");
    qputenv("QUILL_WINDOWS_DIR", Root() + "/windows");
    std::atexit([] { QDir(QString::fromLocal8Bit(Root())).removeRecursively(); });
    static SilentBoxes boxes;
    Seam<MessageBoxes>::set(&boxes);
    return 0;
}

// Every so many runs the logs that failures append to are removed, so they stay small.
inline void TrimLogs()
{
    static unsigned long runs = 0;
    if (++runs % 20000 == 0)
        QFile::remove(Path("home/Client.log")), QFile::remove(Path("home/errors.log"));
}

inline void Require(bool holds, const char* what, const QString& detail)
{
    if (!holds) {
        std::fprintf(stderr, "%s: %s\n", what, qPrintable(detail));
        std::abort();
    }
}

inline QByteArray Bytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

} // namespace fuzz
