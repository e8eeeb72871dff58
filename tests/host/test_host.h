#pragma once

#include "TestEnv.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QObject>
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

class ExportReaderTest : public QObject
{
    Q_OBJECT
private slots:
    void shortLayoutSplitsNames_data();
    void shortLayoutSplitsNames();
    void fieldCountChoosesLayoutAndCoBorrower_data();
    void fieldCountChoosesLayoutAndCoBorrower();
    void ssnKeepsAsciiDigitsOnly();
    void firstLineReadAsWindows1252_data();
    void firstLineReadAsWindows1252();
    void windows1252BothWays_data();
    void windows1252BothWays();
    void birthDateChecked_data();
    void birthDateChecked();
    void oneDateParser_data();
    void oneDateParser();
    void failuresNameFileOrField_data();
    void failuresNameFileOrField();
    void archiveCopy();
    void readingCleansUpTheLoansPdfs();
};

class PdfCleanUpTest : public QObject
{
    Q_OBJECT
private slots:
    void keepsNewestUnderFirstFreeName_data();
    void keepsNewestUnderFirstFreeName();
    void refusedWithoutTouchingFiles_data();
    void refusedWithoutTouchingFiles();
};

class ConfigTest : public QObject
{
    Q_OBJECT
private slots:
    void winQuillValues_data();
    void winQuillValues();
    void profileRules_data();
    void profileRules();
    void configIniReadFromProgramFolder();
};
