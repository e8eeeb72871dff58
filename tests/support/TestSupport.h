#pragma once

#include <QObject>
#include <QPoint>
#include <QString>
#include <QtTest/QTest>

class QWidget;

// Text for a failed child look-up: what was wanted and the names that do exist under root.
QString describeMissingChild(const QObject *root, const QString &name, const char *className);

// A point inside widget that lies on none of its visible children, scanning from the top left;
// QPoint(-1, -1) when the children cover it completely.
QPoint uncoveredPoint(const QWidget *widget);

// Declares `Type *var` as root's descendant named name, failing the test when there is none.
#define QUILL_FIND_CHILD(var, Type, root, name)                                                   \
    Type *var = (root)->findChild<Type *>(name);                                                  \
    QVERIFY2(var, qPrintable(describeMissingChild((root), (name), Type::staticMetaObject.className())))
