#pragma once

#include <QString>

// Names of files that the program writes for the host program.

// The first of folder+name+"."+extension, folder+name+"1."+extension, folder+name+"2."+...
// that no file occupies right now. The folder ends with a separator; backslashes in it are
// folder separators (turned into "/" off Windows). The name is only chosen: a file about to be
// written under it takes it with FreeFileName, which moves on when the name is taken meanwhile.
QString UniqueFileName(const QString& folder, const QString& name, const QString& extension);

// True when name is a plain file name that Windows keeps as such: not empty, no "/" or "\", no
// "..", no device name (CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9, with any extension), none of
// < > : " | ? * or a control character, and no final dot or blank.
bool IsPlainFileName(const QString& name);
