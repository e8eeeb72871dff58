#pragma once

#include <QString>

// True when address is an http or https address (scheme in any letter case) that names a host.
// The one test for every address that comes from the server or the settings before it is
// requested or handed to the shell: file:, javascript:, relative and host-less addresses fail.
bool IsWebAddress(const QString& address);
