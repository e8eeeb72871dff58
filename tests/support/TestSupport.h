#pragma once

#include <QObject>
#include <QString>
#include <QtTest/QTest>

// Text for a failed child look-up: what was wanted and the names that do exist under root.
QString describeMissingChild(const QObject *root, const QString &name, const char *className);

// Declares `Type *var` as root's descendant named name, failing the test when there is none.
#define QUILL_FIND_CHILD(var, Type, root, name)                                                   \
    Type *var = (root)->findChild<Type *>(name);                                                  \
    QVERIFY2(var, qPrintable(describeMissingChild((root), (name), Type::staticMetaObject.className())))
