#pragma once

// Registers the ordering windows: the status, pull and reference-chooser windows with Reload,
// which unloads them after the account windows (ReloadPart::OrderingWindows).
void RegisterOrderingWindows();
