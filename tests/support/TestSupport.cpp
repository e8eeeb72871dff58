#include "TestSupport.h"

#include <QStringList>
#include <QWidget>

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

QPoint uncoveredPoint(const QWidget *widget)
{
    const int step = 3;
    for (int y = 1; y < widget->height() - 1; y += step) {
        for (int x = 1; x < widget->width() - 1; x += step) {
            if (!widget->childAt(x, y))
                return {x, y};
        }
    }
    return {-1, -1};
}
