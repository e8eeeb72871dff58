#include "platform/FileSecurity.h"

#include "platform/Seam.h"

#ifdef Q_OS_WIN
#include <windows.h>
#include <aclapi.h>
#endif

namespace {

#ifdef Q_OS_WIN
LPCWSTR wide(const QString& path)
{
    return reinterpret_cast<LPCWSTR>(path.utf16());
}
#endif

} // namespace

void* FileSecurity::Create(const QString& path, unsigned long access, unsigned long share, unsigned long disposition,
                           void* descriptor)
{
#ifdef Q_OS_WIN
    SECURITY_ATTRIBUTES attributes{sizeof(SECURITY_ATTRIBUTES), descriptor, FALSE};
    const QString native = QString(path).replace(QLatin1Char('/'), QLatin1Char('\\'));
    return CreateFileW(wide(native), access, share, &attributes, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
#else
    Q_UNUSED(path);
    Q_UNUSED(access);
    Q_UNUSED(share);
    Q_UNUSED(disposition);
    Q_UNUSED(descriptor);
    return nullptr;
#endif
}

unsigned long FileSecurity::Protect(const QString& path, void* descriptor)
{
#ifdef Q_OS_WIN
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL dacl = nullptr;
    if (!GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted) || !present)
        return ERROR_INVALID_SECURITY_DESCR;
    QString native = QString(path).replace(QLatin1Char('/'), QLatin1Char('\\'));
    return SetNamedSecurityInfoW(reinterpret_cast<LPWSTR>(native.data()), SE_FILE_OBJECT,
                                 DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                 dacl, nullptr);
#else
    Q_UNUSED(path);
    Q_UNUSED(descriptor);
    return 0;
#endif
}

FileSecurity& TheFileSecurity()
{
    return Seam<FileSecurity>::get();
}
