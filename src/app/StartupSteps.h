#pragma once

class IMainWindow;

// The three account checks, in the order password, version, reissue right. The first that
// fails stops start-up with error 6000 and the answer text as description.
void RunAccountChecks();

// Runs the main window's existing-report check and corrects its buttons for a loan without a
// report, a failed search and a report found through a reissue number.
void RunExistingReportCheck(IMainWindow& window);
