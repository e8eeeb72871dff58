#pragma once

#include <QDateTime>
#include <QString>

class QWidget;

// The clock, the hourglass cursor, the printer selection dialog and notices without a box.
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

    // Tells the user something without a modal box: a desktop notification where the system
    // offers them, else the window asks for attention (its task bar entry flashes).
    virtual void Notify(const QString& title, const QString& text, QWidget* window);
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
