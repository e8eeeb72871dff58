#pragma once

// Shared pieces of the fuzz targets: a private temporary program folder, message boxes that
// answer OK without showing anything, and the way a target reports a broken property.

#include "platform/MsgBox.h"
#include "platform/Seam.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <cstdio>
#include <cstdlib>

namespace fuzz {

class SilentBoxes : public MessageBoxes
{
public:
    int show(const QString&, int, const QString&) override { return vbOK; }
};

// The temporary folder of this run (created by Setup()).
inline QByteArray& Root()
{
    static QByteArray root;
    return root;
}

// Makes a temporary folder, points the program's folders into it, installs silent message
// boxes and removes the folder at exit.
inline bool Setup()
{
    char pattern[] = "/tmp/quill-fuzz-XXXXXX";
    if (!mkdtemp(pattern))
        return false;
    Root() = pattern;
    for (const char* sub : {"/home", "/config", "/windows"})
        QDir().mkpath(QString::fromLocal8Bit(Root() + sub));
    qputenv("QUILLCLIENT_HOME", Root() + "/home");
    qputenv("QUILLCLIENT_CONFIG", Root() + "/config");
    qputenv("QUILL_WINDOWS_DIR", Root() + "/windows");
    std::atexit([] { QDir(QString::fromLocal8Bit(Root())).removeRecursively(); });
    static SilentBoxes boxes;
    Seam<MessageBoxes>::set(&boxes);
    return true;
}

inline QString Path(const char* relative)
{
    return QString::fromLocal8Bit(Root() + "/" + relative);
}

// Every so many runs the logs that failures append to are removed, so they stay small.
inline void TrimLogs(unsigned long run)
{
    if (run % 20000 != 0)
        return;
    QFile::remove(Path("home/Client.log"));
    QFile::remove(Path("home/errors.log"));
}

[[noreturn]] inline void Broken(const char* what, const QString& detail)
{
    std::fprintf(stderr, "%s: %s\n", what, qPrintable(detail));
    std::abort();
}

inline QString Text(const uint8_t* data, size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
}

} // namespace fuzz
