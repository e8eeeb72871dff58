#pragma once

#include <QString>

// Reads text values under HKEY_LOCAL_MACHINE. Off Windows there is no registry: always false.
class Registry
{
public:
    virtual ~Registry() = default;
    // The value's text as stored (a trailing NUL character included when the value holds one);
    // false when the key or the value cannot be read.
    virtual bool QueryString(const QString& keyPath, const QString& valueName, QString& value);
};

// The installed registry (the real one unless a test installed another).
Registry& TheRegistry();

bool RegQueryString(const QString& keyPath, const QString& valueName, QString& value);
