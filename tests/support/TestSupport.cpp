#include "TestSupport.h"

#include <QStringList>

QString describeMissingChild(const QObject *root, const QString &name, const char *className)
{
    QStringList names;
    const auto children = root->findChildren<QObject *>();
    for (const QObject *child : children) {
        if (!child->objectName().isEmpty() && !child->objectName().startsWith(QLatin1String("qt_")))
            names << child->objectName();
    }
    names.sort();
    return QStringLiteral("no %1 named \"%2\" under %3; named children: %4")
        .arg(QLatin1String(className), name, root->objectName(), names.join(QLatin1String(", ")));
}
