// quill-vendor-sim: the stand-in vendor server for the demo and the network tests.

#include "VendorServer.h"

#include <QCommandLineParser>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>

namespace {

// The PDF renderer needs a GUI application; a server has no display, so the offscreen platform is
// the default unless the caller chose one.
void preferOffscreenPlatform()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

bool readSeed(const QString& path, QByteArray& seed)
{
    if (path.isEmpty())
        return true;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read seed %s: %s\n", qPrintable(path), qPrintable(file.errorString()));
        return false;
    }
    seed = file.readAll();
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    preferOffscreenPlatform();
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quill-vendor-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Stand-in credit vendor server on 127.0.0.1."));
    parser.addHelpOption();
    const QCommandLineOption portOption(QStringLiteral("port"), QStringLiteral("Port to listen on (0: any free port)."),
                                        QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption seedOption(QStringLiteral("seed"), QStringLiteral("JSON seed with accounts and reports."),
                                        QStringLiteral("FILE"));
    parser.addOption(portOption);
    parser.addOption(seedOption);
    parser.process(app);

    bool portOk = false;
    const uint port = parser.value(portOption).toUInt(&portOk);
    if (!portOk || port > 65535) {
        std::fprintf(stderr, "invalid port: %s\n", qPrintable(parser.value(portOption)));
        return 2;
    }
    QByteArray seed;
    if (!readSeed(parser.value(seedOption), seed))
        return 2;

    VendorServer server(seed);
    const QString seedError = server.loadSeed();
    if (!seedError.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(seedError));
        return 2;
    }
    if (server.start(quint16(port)) == 0) {
        std::fprintf(stderr, "cannot listen on 127.0.0.1:%u\n", port);
        return 1;
    }
    // The first line tells a parent process where to connect; it must not wait in a buffer.
    std::printf("listening on %s\n", qPrintable(server.baseUrl()));
    std::fflush(stdout);
    return app.exec();
}
