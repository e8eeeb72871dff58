#pragma once

#include <QObject>

class ExportReaderTest : public QObject
{
    Q_OBJECT
private slots:
    void exportLayouts_data();
    void exportLayouts();
    void oneDateParser_data();
    void oneDateParser();
    void archiveCopy();
};

class HostFilesTest : public QObject
{
    Q_OBJECT
private slots:
    void pdfCleanUp_data();
    void pdfCleanUp();
    void winQuillValues_data();
    void winQuillValues();
    void profileRules_data();
    void profileRules();
};

#include "TestEnv.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QTest>

using Ages = QMap<QString, int>;          // file name -> minutes old
using Contents = QMap<QString, QString>;  // file name -> content

// A file in the loan folder as the host writes it: backslashes, also off Windows.
inline QString hostPath(const TestEnv& env, const QString& file)
{
    return QString(env.path("loans")).replace('/', '\\') + '\\' + file;
}

// Creates each loan-folder file with its own name as content, aged in minutes before yesterday.
inline void createPdfs(const TestEnv& env, const Ages& ages)
{
    const QDateTime base = QDateTime::currentDateTime().addDays(-1);
    for (auto it = ages.cbegin(); it != ages.cend(); ++it) {
        env.writeFile("loans/" + it.key(), it.key().toUtf8());
        QFile file(env.path("loans/" + it.key()));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(base.addSecs(-60 * it.value()), QFileDevice::FileModificationTime));
    }
}

inline Contents folderContents(const TestEnv& env)
{
    Contents contents;
    for (const QString& name : QDir(env.path("loans")).entryList(QDir::Files))
        contents[name] = QString::fromUtf8(env.readFile("loans/" + name));
    return contents;
}
