#pragma once

// Registers the account windows with start-up and the server operations: the settings window
// for start-up, and the expired-password window for the password check.
void RegisterAccountWindows();
