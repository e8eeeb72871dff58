#include "platform/WindowsShell.h"

#include <QDir>
#include <QRegularExpression>

#ifdef Q_OS_WIN

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#endif

namespace {

constexpr int kSuccess = 42;

// Win32 errors ShellExecuteEx reports through GetLastError, as the classic call's codes.
int classicCodeForError(unsigned long error)
{
    switch (error) {
    case 2: return 2;     // ERROR_FILE_NOT_FOUND
    case 3: return 3;     // ERROR_PATH_NOT_FOUND
    case 5: return 5;     // ERROR_ACCESS_DENIED
    case 8: return 8;     // ERROR_NOT_ENOUGH_MEMORY
    case 11: return 11;   // ERROR_BAD_FORMAT
    case 32: return 26;   // ERROR_SHARING_VIOLATION
    case 1155: return 31; // ERROR_NO_ASSOCIATION
    case 1156: return 29; // ERROR_DDE_FAIL
    case 1157: return 32; // ERROR_DLL_NOT_FOUND
    case 1460: return 28; // ERROR_TIMEOUT (a DDE conversation that did not answer)
    default: return 0;
    }
}

} // namespace

namespace WindowsShell {

int ClassicCode(bool succeeded, long long instApp, unsigned long win32Error)
{
    if (succeeded)
        return kSuccess;
    if (instApp > 0 && instApp <= 32)
        return int(instApp);
    return classicCodeForError(win32Error);
}

QString ShellTarget(const QString& file)
{
    // A drive letter ("C:") is a one-letter scheme to the address syntax.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    return scheme.match(file).hasMatch() ? file : QDir::toNativeSeparators(file);
}

#ifdef Q_OS_WIN
int Execute(const QString& verb, const QString& file, const QString& parameters, const QString& directory,
            int showCommand)
{
    // Shell handlers may be COM objects that want a single-threaded apartment on this thread.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const std::wstring verbW = verb.toStdWString();
    const std::wstring fileW = ShellTarget(file).toStdWString();
    const std::wstring parametersW = parameters.toStdWString();
    const std::wstring directoryW = QDir::toNativeSeparators(directory).toStdWString();
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpVerb = verbW.c_str();
    info.lpFile = fileW.c_str();
    info.lpParameters = parameters.isEmpty() ? nullptr : parametersW.c_str();
    info.lpDirectory = directory.isEmpty() ? nullptr : directoryW.c_str();
    info.nShow = showCommand;
    const bool succeeded = ShellExecuteExW(&info);
    const DWORD error = succeeded ? 0 : GetLastError();
    if (SUCCEEDED(com))
        CoUninitialize();
    return ClassicCode(succeeded, reinterpret_cast<intptr_t>(info.hInstApp), error);
}
#endif

} // namespace WindowsShell
