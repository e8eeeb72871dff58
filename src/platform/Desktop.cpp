#include "platform/Desktop.h"

#include "platform/Seam.h"

#include <QApplication>
#include <QPrintDialog>
#include <QPrinter>

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

Desktop& TheDesktop()
{
    return Seam<Desktop>::get();
}
