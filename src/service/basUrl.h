#pragma once

#include <QString>

// Form encoding of one field name or value for a request address: UTF-8 bytes, a blank as "+",
// A-Z a-z 0-9 - _ . ~ and "*" as they are, every other byte as %XX.
QString EncodeFormValue(const QString& value);

// True when text holds one of & ' = " * (characters a typed value may not carry).
bool HasIllegalChars(const QString& text);
