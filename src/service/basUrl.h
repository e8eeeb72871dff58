#pragma once

#include <QString>

// Form encoding of one field name or value for a request address: UTF-8 bytes, a blank as "+",
// A-Z a-z 0-9 - _ . ~ and "*" as they are, every other byte as %XX.
QString EncodeFormValue(const QString& value);

// Values put into the addresses of the vendor's web pages: as EncodeFormValue, but a blank as
// %20 and "'" as %60, the forms those pages expect. "&", "%", "=" and every other reserved or
// non-ASCII byte are %XX, so no value can change the address around it.
QString EncodeUrlValue(const QString& value);

// True when text holds one of & ' = " * (characters a typed value may not carry).
bool HasIllegalChars(const QString& text);
