#pragma once

#include <QByteArray>
#include <QString>

// The charset named by a Content-Type header value ("text/plain; charset=windows-1252"),
// without quotes; empty when it names none.
QByteArray CharsetOf(const QByteArray& contentType);

// body decoded by the charset contentType names (Windows-1252 by TextFile's table), else (no
// charset, or one Qt does not know) as UTF-8.
QString DecodeAnswer(const QByteArray& body, const QByteArray& contentType);
