#pragma once

#include <QString>
#include <QStringList>

class clsConfig;

// Handing IMPORT.DAT to the host program's import program.

// The import definition beside this program: "VELMORA.IMP" for the vendor named exactly
// "Velmora Services", "tamcred.imp" for every other name.
QString ImportDefinitionName(const QString& vendor);

struct ImportCommand {
    QString program;       // the host program's folder + "IMPORT.EXE", as a local path
    QStringList arguments; // the import file, then the import definition file
    QString text;          // the classic command line: program, then both arguments in double quotes
};

// The command for the import file `file`: sQuillAppPath + "IMPORT.EXE " + quoted file + " " +
// quoted sConfigPath + definition name. The text keeps the host's own spelling of the paths.
ImportCommand BuildImportCommand(const QString& file, const clsConfig& config, const QString& vendor);

// Starts the import program with its argument list (never through a shell) and does not wait
// for it. AppError when the program does not exist, cannot be run or does not start.
void StartImport(const ImportCommand& command);
