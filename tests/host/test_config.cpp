#include "test_host.h"

#include "TestEnv.h"
#include "host/clsConfig.h"
#include "platform/ProfileIni.h"

#include <QTest>

namespace {

void writeWinQuill(const TestEnv& env, const QByteArray& text)
{
    env.writeFile(env.windows() + "/WINQUILL.INI", text);
}

} // namespace

void ConfigTest::missingFilesGiveEmptyValues()
{
    TestEnv env;
    clsConfig config;
    QCOMPARE(config.sQuillAppPath(), QString("\\"));
    QCOMPARE(config.sQuillAppTemplates(), QString("\\"));
    QCOMPARE(config.sQuillAppTitle(), QString());
    QCOMPARE(config.nQuillFolderCount(), qint16(0));
    QCOMPARE(config.QuillAppDataFolder(1), QString());
    QCOMPARE(config.sConfigPath(), env.home() + "\\");
    QCOMPARE(config.sQuillConfigFile(), env.windows() + "\\WINQUILL.INI");
}

void ConfigTest::directoriesGetBackslash_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("path");
    QTest::newRow("no backslash") << QByteArray("Application=C:\\QUILL") << "C:\\QUILL\\";
    QTest::newRow("backslash kept") << QByteArray("Application=C:\\QUILL\\") << "C:\\QUILL\\";
    QTest::newRow("blanks trimmed") << QByteArray("Application =   C:\\DATA   ") << "C:\\DATA\\";
    QTest::newRow("quoted") << QByteArray("application=\"C:\\Q Q\"") << "C:\\Q Q\\";
}

void ConfigTest::directoriesGetBackslash()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, path);
    TestEnv env;
    writeWinQuill(env, "[Program Version]\r\nProgram=Quill\r\n[directories]\r\n" + line + "\r\n");
    clsConfig config;
    QCOMPARE(config.sQuillAppPath(), path);
    QCOMPARE(config.sQuillAppTitle(), QString("Quill"));
}

void ConfigTest::dataFolderList_data()
{
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<QStringList>("folders");
    QTest::newRow("sentinel skipped") << QByteArray("Folder0=C:\\Q\\DATA\r\nFolder1=sentinel\r\nFolder2=D:\\SHARE\\\r\n")
                                      << QStringList{"C:\\Q\\DATA\\", "D:\\SHARE\\"};
    QTest::newRow("gap ends the list") << QByteArray("Folder0=C:\\A\r\nFolder2=C:\\C\r\n") << QStringList{"C:\\A\\"};
    QTest::newRow("no Folder0") << QByteArray("Folder1=C:\\B\r\n") << QStringList();
    QTest::newRow("first match wins") << QByteArray("FOLDER0=C:\\FIRST\r\nfolder0=C:\\SECOND\r\n") << QStringList{"C:\\FIRST\\"};
}

void ConfigTest::dataFolderList()
{
    QFETCH(QByteArray, keys);
    QFETCH(QStringList, folders);
    TestEnv env;
    writeWinQuill(env, "[Directories]\r\n" + keys);
    clsConfig config;
    QCOMPARE(config.nQuillFolderCount(), qint16(folders.size()));
    for (int i = 0; i < folders.size(); ++i)
        QCOMPARE(config.QuillAppDataFolder(qint16(i + 1)), folders[i]);
    QCOMPARE(config.QuillAppDataFolder(qint16(folders.size() + 1)), QString());
    QCOMPARE(config.QuillAppDataFolder(0), QString());
    QCOMPARE(config.QuillAppDataFolder(-1), QString());
}

void ConfigTest::allFolderKeysFitWithoutOverrun()
{
    TestEnv env;
    QByteArray keys = "[Directories]\r\n";
    for (int k = 0; k <= 100; ++k)
        keys += "Folder" + QByteArray::number(k) + "=C:\\F" + QByteArray::number(k) + "\r\n";
    writeWinQuill(env, keys);
    clsConfig config;
    QCOMPARE(config.nQuillFolderCount(), qint16(100));
    QCOMPARE(config.QuillAppDataFolder(1), QString("C:\\F0\\"));
    QCOMPARE(config.QuillAppDataFolder(100), QString("C:\\F99\\"));
    QCOMPARE(config.QuillAppDataFolder(101), QString());
}

void ConfigTest::profileRules_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<int>("buffer");
    QTest::addColumn<QString>("value");
    const QByteArray longValue(160, 'x');
    QTest::newRow("cut to buffer") << "[S]\r\nK=" + longValue << 150 << QString(149, 'x');
    QTest::newRow("folder buffer") << "[S]\r\nK=" + longValue << 100 << QString(99, 'x');
    QTest::newRow("backslashes literal") << QByteArray("[S]\r\nK=C:\\n\\t\\x") << 150 << "C:\\n\\t\\x";
    QTest::newRow("names ignore case") << QByteArray("[s]\nk = v") << 150 << "v";
    QTest::newRow("comment ignored") << QByteArray("[S]\n;K=no\nK=yes") << 150 << "yes";
    QTest::newRow("other section") << QByteArray("[T]\nK=no\n[S]\nX=1") << 150 << "";
    QTest::newRow("Windows-1252") << QByteArray("[S]\r\nK=CAF\xC9") << 150 << QString::fromUtf8("CAFÉ");
}

void ConfigTest::profileRules()
{
    QFETCH(QByteArray, ini);
    QFETCH(int, buffer);
    QFETCH(QString, value);
    TestEnv env;
    env.writeFile("p.ini", ini);
    QCOMPARE(GetPrivateProfileString("S", "K", "", buffer, env.path("p.ini")), value);
}

void ConfigTest::configIniReadFromProgramFolder()
{
    TestEnv env;
    env.writeFile("Config.ini", "[Interface]\r\nServerIP= 10.0.0.1 \r\nCompany=ACME\r\nUsername=u\r\nPassword=p\r\n");
    clsConfig config;
    QCOMPARE(config.sConfigServerIP(), QString("10.0.0.1"));
    QCOMPARE(config.sConfigCompany(), QString("ACME"));
    QCOMPARE(config.sConfigUsername(), QString("u"));
    QCOMPARE(config.sConfigPassword(), QString("p"));
}
