#pragma once

#include <QString>

#include <functional>

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
    // Loads the exported loan and searches the vendor; done is called once when the check has
    // ended (whatever it found), from the event loop or before CheckForExisting returns.
    virtual void CheckForExisting(std::function<void()> done) = 0;
    // Sets the report buttons from what the check found and the reissue number it may have asked
    // for: with a failed search every report button is disabled, without a report only Pull
    // Credit is offered, and a report found by reissue number may only be viewed, printed and
    // imported.
    virtual void SetButtons() = 0;
    // While start-up's checks run, the commands that change the account at the vendor (change
    // password, contact information) are held off: the expired-password check may still open its
    // own window, and the account's department is not known yet.
    virtual void HoldAccountCommands(bool held) = 0;
};
