#pragma once

#include <QString>

// The two calls through which owner-only files get their access list on Windows (off Windows
// there is nothing to call: the mode bits do it). A seam, so that tests can see the security
// descriptor each file was given: Wine keeps no access list of its own for a file, it turns one
// into the Unix mode bits and builds a different one from them when asked.
class FileSecurity
{
public:
    virtual ~FileSecurity() = default;
    // CreateFileW(path, access, share, { descriptor }, disposition, FILE_ATTRIBUTE_NORMAL): the
    // HANDLE, or INVALID_HANDLE_VALUE with the reason in GetLastError().
    virtual void* Create(const QString& path, unsigned long access, unsigned long share, unsigned long disposition,
                         void* descriptor);
    // Replaces the access list of the file at path by the descriptor's, protected from
    // inheritance (SetNamedSecurityInfoW): 0 when done, else the Windows error code.
    virtual unsigned long Protect(const QString& path, void* descriptor);
};

// The installed implementation (the real one unless a test installed another).
FileSecurity& TheFileSecurity();
