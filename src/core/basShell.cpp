#include "core/basShell.h"

#include <QMap>
#include <cmath>

namespace {

const QMap<int, QString>& explanations()
{
    static const QMap<int, QString> table{
        {0, QStringLiteral("- The operating system is out of memory or resources.")},
        {2, QStringLiteral("- The specified file was not found.")},
        {3, QStringLiteral("- The specified path was not found.")},
        {5, QStringLiteral("- The operating system denied access to the specified file.")},
        {8, QStringLiteral("- There was not enough memory to complete the operation.")},
        {11, QStringLiteral("- The .EXE file is invalid (non-Win32 .EXE or error in .EXE image).")},
        {26, QStringLiteral("- A sharing violation occurred.")},
        {27, QStringLiteral("- The filename association is incomplete or invalid.")},
        {28, QStringLiteral("- The DDE transaction could not be completed because the request timed out.")},
        {29, QStringLiteral("- The DDE transaction failed.")},
        {30,
         QStringLiteral(
             "- The DDE transaction could not be completed because other DDE transactions were being processed.")},
        {31, QStringLiteral("- There is no application associated with the given filename extension.")},
        {32, QStringLiteral("- The specified dynamic-link library was not found.")},
    };
    return table;
}

const QString kGeneric = QStringLiteral("- Generic Error");

} // namespace

QString ShellErrorText(const QVariant& code)
{
    bool numeric = false;
    const double value = code.toDouble(&numeric);
    if (!numeric || std::floor(value) != value)
        return code.toString().trimmed() + kGeneric;
    const QString text = QString::number(value, 'g', 15);
    if (std::fabs(value) > 1e9)
        return text + kGeneric;
    return text + explanations().value(int(value), kGeneric);
}
