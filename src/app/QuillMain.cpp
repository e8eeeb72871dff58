#include "app/QuillMain.h"
#include "app/basMain.h"
#include "core/AppContext.h"

#include <QApplication>
#include <QStringList>

int QuillMain(int argc, char** argv, void (*registerWindows)())
{
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("QuillClient"));
    app.setApplicationVersion(
        QStringLiteral("%1.%2.%3").arg(QUILL_VERSION_MAJOR).arg(QUILL_VERSION_MINOR).arg(QUILL_VERSION_PATCH));
    SetCommandLine(app.arguments().mid(1).join(QLatin1Char(' ')));
    if (registerWindows)
        registerWindows();
    switch (Main()) {
    case StartupOutcome::Configuration: return 0;
    case StartupOutcome::FailedHidden: return 1;
    case StartupOutcome::Started: break;
    }
    // Quitting from the settings window asked the event loop to exit before it ran; the
    // expired-password window and the newer-version download end the loop that drives the
    // checks.
    if (WindowHooks::EndRequested())
        return 0;
    return app.exec();
}
