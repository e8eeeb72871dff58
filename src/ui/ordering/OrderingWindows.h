#pragma once

// Registers the ordering windows with the operations below them: the status window for the PDF
// wait (WindowHooks::WaitForPdf), and the status, pull and reference-chooser windows with Reload,
// which unloads them after the account windows (ReloadPart::OrderingWindows).
void RegisterOrderingWindows();
