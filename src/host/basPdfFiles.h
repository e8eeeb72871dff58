#pragma once

#include "core/FileNames.h"

#include <QString>

// The report PDF files of a loan: their names and the clean-up that runs each time a loan is
// loaded.

// True when name is the loan's own PDF name: vsName, optionally followed by decimal digits,
// then ".pdf", compared the way the file system compares names (case-sensitively on Linux,
// case-insensitively on Windows and macOS).
bool IsLoanPdfName(const QString& candidate, const QString& vsName);

// Keeps only the newest of the loan's report PDFs in the loan file's folder and gives it the
// first free name of the sequence name.pdf, name1.pdf, ...:
//  - the folder is vsPath up to its last backslash (or "/");
//  - the loan's PDFs are the files matching IsLoanPdfName; other files are never touched;
//  - the newest is the one with the latest modification time (the first in name order wins
//    a tie); every other one is deleted unless another program holds it open or locked;
//  - a folder that does not exist holds no PDFs: nothing to do.
// A problem (no folder in vsPath, a name that is not a plain file name, a folder that cannot
// be read, a failed delete or rename) stops the clean-up where it is, shows the "Clean Up
// Problem" box and writes the description to errors.log. Always returns true.
bool CleanUpPdfFiles(const QString& vsPath, const QString& vsName);
