#pragma once

// Registers the status window for the server operations that wait for the vendor: the bureau
// wait of an order (WindowHooks::WaitForStatus) and the PDF wait (WindowHooks::WaitForPdf).
void RegisterStatusWaits();
