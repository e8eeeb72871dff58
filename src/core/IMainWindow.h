#pragma once

#include <QString>

// The main window's command buttons, named as their controls. Start-up names a button by this
// enum, so a misspelt button is a compile error rather than a lookup that silently finds nothing.
enum class MainButton {
    cmdRepull,
    cmdAddBureau,
    cmdView,
    cmdPrint,
    cmdImport,
    cmdRMCR,
    cmdWeb,
    cmdRequestSupp,
    cmdClose,
};

// The button's control name ("cmdView"), as its objectName.
QString ButtonName(MainButton button);

// What start-up asks of the main window. The window registers a factory in the program context,
// so start-up stays free of widgets and can be run against a recording stand-in.
class IMainWindow
{
public:
    virtual ~IMainWindow() = default;
    virtual void SetVersionLabel(const QString& version) = 0;
    virtual void SetCaption(const QString& caption) = 0;
    // pictureIndex is 1-based, as in the window's image list.
    virtual void SetLogo(int pictureIndex) = 0;
    virtual void SetLogoTooltip(const QString& tooltip) = 0;
    virtual void ShowWindow() = 0;
    virtual void Unload() = 0;
    // Loads the exported loan, searches the vendor and sets the buttons.
    virtual void CheckForExisting() = 0;
    // The report ID the existing-report check found ("ERROR" when the search failed).
    virtual QString ExistingReportID() const = 0;
    virtual void SetButtonEnabled(MainButton button, bool enabled) = 0;
    virtual void SetButtonText(MainButton button, const QString& caption, const QString& tooltip) = 0;
};
