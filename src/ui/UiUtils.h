#pragma once

class QLineEdit;

// Selects the whole text of a text box and gives it the focus; a null box is ignored.
void SelectAllText(QLineEdit* box);

// Makes box select its whole text each time it receives the focus, by keyboard or by a click.
// The selection is made once the event that brought the focus has been handled (a click places
// the cursor after the focus arrives) and only while the box still has the focus, so it never
// takes the focus back from a box the user has moved on to. The one select-on-focus of every
// window.
void SelectTextOnFocus(QLineEdit* box);

// Registers the pictures compiled into the library (logos, program icon). Safe to call repeatedly;
// anything that loads ":/images/..." calls it first, as the static library's own registration
// would otherwise be dropped by the linker.
void InitUiResources();
