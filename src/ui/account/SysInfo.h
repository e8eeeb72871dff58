#pragma once

#include <QString>
#include <QStringList>

// Starting the operating system's system information program for the about window.
namespace SysInfo {

// The programs looked for on PATH where there is no registry place naming one, in this order.
const QStringList& DesktopPrograms();

// Reads a text value from the registry: rootKey "HKEY_LOCAL_MACHINE" (the only root the
// program reads), keyPath, valueName. True with the text, a trailing NUL character dropped;
// false with the empty text when the key or the value cannot be read.
bool GetKeyValue(const QString& rootKey, const QString& keyPath, const QString& valueName, QString& value);

// Starts the system information program: the one the registry names (Windows), else the first
// of DesktopPrograms() found on PATH; otherwise, or when it cannot be started, the message
// "System Information Is Unavailable At This Time".
void StartSysInfo();

} // namespace SysInfo
