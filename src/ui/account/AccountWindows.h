#pragma once

// Registers the account windows with start-up and the server operations: the settings window
// for start-up, the change-password window for the password check, and what Reload unloads.
void RegisterAccountWindows();

class QAction;

// The File menu's About, Change Password (by choice: UserInitiated true) and Update Contact Info.
void ConnectAccountMenu(QAction* about, QAction* changePassword, QAction* contactInfo);
