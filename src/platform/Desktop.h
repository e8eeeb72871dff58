#pragma once

#include <QDateTime>
#include <QString>

// The clock, the hourglass cursor and the printer selection dialog.
class Desktop
{
public:
    virtual ~Desktop() = default;

    virtual QDateTime Now();

    // Shows or clears the busy cursor for the whole application.
    virtual void SetHourglass(bool busy);

    // What the printer dialog returned: a printer and copies, or a file to print into.
    struct PrinterChoice {
        QString printerName;
        int copies = 1;
        QString outputFile;
    };
    // Lets the user choose a printer; false when cancelled.
    virtual bool ChoosePrinter(PrinterChoice& choice);
};

Desktop& TheDesktop();

// Shows the hourglass for the lifetime of the object, so every exit path restores the cursor.
class HourglassCursor
{
public:
    HourglassCursor() { TheDesktop().SetHourglass(true); }
    ~HourglassCursor() { TheDesktop().SetHourglass(false); }
    HourglassCursor(const HourglassCursor&) = delete;
    HourglassCursor& operator=(const HourglassCursor&) = delete;
};
