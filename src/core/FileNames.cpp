#include "core/FileNames.h"

#include "core/FreeFileName.h"

#include <QRegularExpression>

QString UniqueFileName(const QString& folder, const QString& name, const QString& extension)
{
    return FreeFileName(folder, name, extension).path();
}

namespace {

// What Windows does not keep as a file of that name: a device ("NUL.pdf" is the null device
// whatever follows the first dot, blanks before it included; COM and LPT with a superscript
// digit too), a character it reserves (":" opens a stream of another file, "A:B" writes into A)
// or any control character, and a final dot or blank, which it drops.
bool isWindowsFileName(const QString& name)
{
    static const QRegularExpression device(
        QStringLiteral("^(CON|PRN|AUX|NUL|(COM|LPT)[1-9\u00b9\u00b2\u00b3]) *(\\..*)?$"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression reserved(QStringLiteral("[<>:\"|?*\\x00-\\x1f]"));
    return !device.match(name).hasMatch() && !reserved.match(name).hasMatch() && !name.endsWith(QLatin1Char('.'))
        && !name.endsWith(QLatin1Char(' '));
}

} // namespace

// A file name from the host's export file is a name, never a path. Names Windows cannot hold are
// refused on every system: the host program writes them on Windows, so a real loan never has
// one, and the folder it reads the PDF from is a Windows folder, often shared.
bool IsPlainFileName(const QString& name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'))
        && !name.contains(QLatin1String("..")) && isWindowsFileName(name);
}
