#pragma once

#include <QString>
#include <QStringList>

// Calls a server operation by its name, as the data-driven tests list them.
bool CallOperation(const QString& name, const QString& block, QString& answer);

// A loopback port with nothing listening on it.
quint16 ClosedPort();

// The number of entries in errors.log text.
int ErrorLogEntries(const QByteArray& log);
