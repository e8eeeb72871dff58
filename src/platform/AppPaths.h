#pragma once

#include <QString>

// Where the program keeps its files, and how host paths become local ones.
namespace AppPaths {

// $QUILLCLIENT_HOME when set; else on Windows the user's local (not roaming) data folder,
// elsewhere the executable's folder when writable and not a system folder, else the per-user data
// folder. Created when missing. Never ends with a separator.
QString ProgramFolder();

// $QUILL_WINDOWS_DIR when set, else the Windows folder on Windows, else the program's folder.
QString WindowsFolder();

// $QUILLCLIENT_CONFIG when set, else the per-user configuration folder.
QString ConfigFolder();

// The folder separator that stored folders end with on this platform ("\" or "/").
QString Separator();

// Host files and the store may hold backslash paths; off Windows they become "/" paths.
QString ToLocalPath(const QString& hostPath);

// The program's title, used as its name in the settings store.
QString ProgramTitle();

} // namespace AppPaths
