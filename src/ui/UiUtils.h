#pragma once

class QLineEdit;

// Selects the whole text of a text box and gives it the focus; a null box is ignored.
void SelectAllText(QLineEdit *box);

// Registers the pictures compiled into the library (logos, program icon). Safe to call repeatedly;
// anything that loads ":/images/..." calls it first, as the static library's own registration
// would otherwise be dropped by the linker.
void InitUiResources();
