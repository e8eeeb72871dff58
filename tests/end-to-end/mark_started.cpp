// The configuration program's stand-in on Windows (a shell script cannot be started there):
// creates the file "configured" beside itself and ends. Plain Win32, linked statically, so its
// copy runs from any folder without DLLs beside it.
#include <windows.h>

int main()
{
    wchar_t path[MAX_PATH + 16] = {};
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return 1;
    while (length > 0 && path[length - 1] != L'\\')
        --length;
    lstrcpyW(path + length, L"configured");
    const HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    CloseHandle(file);
    return 0;
}
