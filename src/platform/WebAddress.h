#pragma once

#include <QString>

class QUrl;

// True when address is an http or https address (scheme in any letter case) that names a host.
// The one test for every address that comes from the server or the settings before it is
// requested or handed to the shell: file:, javascript:, relative and host-less addresses fail.
bool IsWebAddress(const QString& address);

// address in its exactly encoded form (ASCII only) when it is an http or https address that
// reads in strict mode, else empty: for addresses handed to the shell on any host. Read
// tolerantly, a blank, quote, tab, line break or control character would reach the browser's
// command line raw, where it may start further arguments.
QString EncodedWebAddress(const QString& address);

// True when a and b name the same scheme, host and port (a missing port counts as the scheme's
// default one).
bool SameOrigin(const QUrl& a, const QUrl& b);

// True when address, built by appending something the server sent to base (BaseUrl and a path,
// a page link, a report ID), is an exactly encoded web address on base's own scheme, host and
// port, with base's user information. A server's text beginning with "@" or "." after a base
// without a trailing slash would otherwise move the address, and what it carries, to another
// host; "\", blanks and other characters a browser may read differently make it fail too.
bool StaysOnServer(const QString& base, const QString& address);

// text with the password of every user:password@host address in it (with or without its scheme)
// written as "*****". A typed password may hold "/", ":" and "@": it runs to the last "@" before
// the address's query or end.
QString MaskAddressPasswords(const QString& text);
