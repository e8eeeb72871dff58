#pragma once

#include "core/IMainWindow.h"

#include <QMap>
#include <QString>

class LoanSession;

struct ButtonState {
    bool enabled = false;
    QString caption;
    QString tooltip;
};

// The main window's report buttons (every MainButton but cmdClose) as the loan's state makes
// them. The one rule for them: the main window applies it after the existing-report check, when
// start-up has run the check, when an order window has closed and whenever the session changes.
//
// - A failed search ("ERROR") leaves every report button disabled.
// - Without a report only Pull Credit is of use.
// - A report found through a reissue number may be viewed, printed and imported, nothing else.
// - While an RMCR request is pending (overall status 64) View, Print, Hide/Split/Join, Add Bureau,
//   Convert RMCR and Repull are disabled.
// - Convert RMCR needs all three bureaus finished (4); Add Bureau a bureau missing (0) and a next
//   order that is not a new pull.
// - While a request the user started for the report runs, every report button is disabled.
// - While an order runs, Pull/Repull, Add Bureau, View, Print and Import are disabled, their
//   tooltip "An order is in progress".
QMap<MainButton, ButtonState> ReportButtons(const LoanSession& session, const QString& reissueNumber);
