#pragma once

#include "core/AppContext.h"
#include "core/IMainWindow.h"
#include "core/clsProperties.h"

#include <QMap>
#include <QStringList>

// Records what start-up does to the main window.
class RecordingMainWindow : public IMainWindow
{
public:
    void SetVersionLabel(const QString& v) override { version = v; }
    void SetCaption(const QString& c) override { caption = c; }
    void SetLogo(int index) override { logo = index; }
    void SetLogoTooltip(const QString& t) override { tooltips << t; }
    void ShowWindow() override { ++shown; }
    void Unload() override { ++unloaded; }
    // The reissue window sets the number while the check runs.
    void CheckForExisting() override
    {
        ++checks;
        if (!reissueDuringCheck.isEmpty())
            Props().setReissueNumber(reissueDuringCheck);
    }
    // Counts the calls that come after a check.
    void SetButtons() override { buttonsAfterCheck += checks > 0 ? 1 : 0; }

    QString version, caption, reissueDuringCheck;
    QStringList tooltips;
    int logo = 0, shown = 0, unloaded = 0, checks = 0, buttonsAfterCheck = 0;
};
