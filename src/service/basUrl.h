#pragma once

#include <QString>

// Form encoding of one field name or value for a request address: UTF-8 bytes, a blank as "+",
// A-Z a-z 0-9 - _ . ~ and "*" as they are, every other byte as %XX.
QString EncodeFormValue(const QString& value);

// Values put into the addresses of the vendor's web pages: "&" as %26, "'" as %60 and a blank
// as %20; everything else, "%" too, as it is.
QString EncodeUrlValue(const QString& value);

// True when text holds one of & ' = " * (characters a typed value may not carry).
bool HasIllegalChars(const QString& text);
