#pragma once

#include <QString>

// Reads a text value under HKEY_LOCAL_MACHINE. Off Windows there is no registry: always false.
bool RegQueryString(const QString& keyPath, const QString& valueName, QString& value);
