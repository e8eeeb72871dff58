#include "platform/Desktop.h"

#include "platform/Seam.h"

#include <QApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

namespace {
// How long the notification's tray icon stays after its message.
constexpr int kNoticeIconMs = 15000;
} // namespace

QDateTime Desktop::Now()
{
    return QDateTime::currentDateTime();
}

void Desktop::SetHourglass(bool busy)
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else if (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

bool Desktop::ChoosePrinter(PrinterChoice& choice)
{
    QPrinter printer;
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    choice.printerName = printer.printerName();
    choice.copies = printer.copyCount();
    choice.outputFile = printer.outputFileName();
    return true;
}

void Desktop::Notify(const QString& title, const QString& text, QWidget* window)
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    if (!QSystemTrayIcon::isSystemTrayAvailable() || !QSystemTrayIcon::supportsMessages()) {
        QApplication::alert(window);
        return;
    }
    // A message needs an icon of the program in the tray; it goes again once the message is old.
    static QSystemTrayIcon* icon = new QSystemTrayIcon(qApp);
    icon->setIcon(window ? window->windowIcon() : QApplication::windowIcon());
    icon->show();
    icon->showMessage(title, text, QSystemTrayIcon::Information);
    QTimer::singleShot(kNoticeIconMs, icon, &QSystemTrayIcon::hide);
}

Desktop& TheDesktop()
{
    return Seam<Desktop>::get();
}
