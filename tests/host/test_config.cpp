#include "test_host.h"

#include "core/clsConfig.h"
#include "platform/ProfileIni.h"

void ConfigTest::winQuillValues_data()
{
    QTest::addColumn<QByteArray>("keys");  // of [Directories]; null: no WINQUILL.INI at all
    QTest::addColumn<QString>("application");
    QTest::addColumn<QStringList>("folders");
    QTest::newRow("no WINQUILL.INI") << QByteArray() << "\\" << QStringList();
    QTest::newRow("backslash added") << QByteArray("Application=C:\\QUILL") << "C:\\QUILL\\" << QStringList();
    QTest::newRow("backslash kept") << QByteArray("Application=C:\\QUILL\\") << "C:\\QUILL\\" << QStringList();
    QTest::newRow("blanks trimmed") << QByteArray("Application =   C:\\DATA   ") << "C:\\DATA\\" << QStringList();
    QTest::newRow("quoted") << QByteArray("application=\"C:\\Q Q\"") << "C:\\Q Q\\" << QStringList();
    // Found by fuzzing: NUL padding after a blank left the blank in the value.
    QTest::newRow("NUL padding after a blank") << QByteArray("Application=C:\\Q \0\0\0", 20) << "C:\\Q\\"
                                               << QStringList();
    QTest::newRow("sentinel skipped")
        << QByteArray("Folder0=C:\\Q\\DATA\r\nFolder1=sentinel\r\nFolder2=D:\\SHARE\\\r\n") << "\\"
        << QStringList{"C:\\Q\\DATA\\", "D:\\SHARE\\"};
    QTest::newRow("gap ends the list") << QByteArray("Folder0=C:\\A\r\nFolder2=C:\\C\r\n") << "\\"
                                       << QStringList{"C:\\A\\"};
    QTest::newRow("no Folder0") << QByteArray("Folder1=C:\\B\r\n") << "\\" << QStringList();
    QTest::newRow("first match wins") << QByteArray("FOLDER0=C:\\FIRST\r\nfolder0=C:\\SECOND\r\n") << "\\"
                                      << QStringList{"C:\\FIRST\\"};
    QByteArray all;
    QStringList hundred;
    for (int k = 0; k <= 100; ++k) {
        all += "Folder" + QByteArray::number(k) + "=C:\\F" + QByteArray::number(k) + "\r\n";
        if (k < 100)
            hundred << QString("C:\\F%1\\").arg(k);
    }
    QTest::newRow("all 101 keys: the last finds no room") << all << "\\" << hundred;
    // Values are read through 150-character buffers, data folders through 100-character ones.
    QTest::newRow("long values cut") << "Application=" + QByteArray(160, 'a') + "\r\nFolder0=" + QByteArray(160, 'f')
                                     << QString(149, 'a') + "\\" << QStringList{QString(99, 'f') + "\\"};
}

void ConfigTest::winQuillValues()
{
    QFETCH(QByteArray, keys);
    QFETCH(QString, application);
    QFETCH(QStringList, folders);
    TestEnv env;
    if (!keys.isNull())
        env.writeFile(env.windows() + "/WINQUILL.INI",
                      "[Program Version]\r\nProgram=Quill\r\n[directories]\r\n" + keys + "\r\n");
    clsConfig config;
    QCOMPARE(config.sQuillAppTitle(), QString(keys.isNull() ? "" : "Quill"));
    QCOMPARE(config.sQuillAppPath(), application);
    QCOMPARE(config.nQuillFolderCount(), qint16(folders.size()));
    for (int i = 0; i < folders.size(); ++i)
        QCOMPARE(config.QuillAppDataFolder(qint16(i + 1)), folders[i]);
    QCOMPARE(config.QuillAppDataFolder(qint16(folders.size() + 1)), QString());
    QCOMPARE(config.QuillAppDataFolder(0), QString());
}

void ConfigTest::profileRules_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<int>("buffer");
    QTest::addColumn<QString>("value");
    QTest::newRow("cut to buffer") << "[S]\r\nK=" + QByteArray(160, 'x') << 150 << QString(149, 'x');
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
