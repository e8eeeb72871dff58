#pragma once

class IMainWindow;

// Stops start-up without a message (a failure numbered 0) once ending the program was asked
// for, by the settings window, the expired-password window or the newer-version download.
void StopIfEnding();

// The three account checks, in the order password, version, reissue right. The first that
// fails stops start-up with error 6000 and the answer text as description.
void RunAccountChecks();

// Runs the main window's existing-report check, then has the window set its buttons from the
// outcome.
void RunExistingReportCheck(IMainWindow& window);
