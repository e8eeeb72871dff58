#pragma once

#include <QList>
#include <QPair>
#include <QTemporaryDir>
#include <QVariantMap>

// A fresh program folder, configuration folder and Windows folder for one test, set through
// the environment variables the program reads. Restores the previous values when destroyed.
class TestEnv
{
public:
    TestEnv();
    ~TestEnv();

    QString home() const { return m_dir.path() + "/home"; }       // the program's folder ($QUILLCLIENT_HOME)
    QString config() const { return m_dir.path() + "/config"; }   // $QUILLCLIENT_CONFIG
    QString windows() const { return m_dir.path() + "/windows"; } // $QUILL_WINDOWS_DIR
    QString path(const QString& relative) const { return home() + "/" + relative; }

    // Writes bytes to path(relative), creating folders on the way.
    void writeFile(const QString& relative, const QByteArray& bytes) const;
    QByteArray readFile(const QString& relative) const;

    // "owner only" when the file at path is its owner's alone: mode 0600, or on Windows the
    // owner-only access list (the user, SYSTEM and the Administrators, nothing inherited) that the
    // program gave this very file when it was created, or later through PrivateFile; "missing"
    // when there is no file; else what it has instead.
    QString accessOf(const QString& path) const;

    // The password the next start would find: in clear in the store, else its protected copy;
    // "<absent>" for none.
    static QString rememberedPassword();

    // Installs a fresh settings object as the global one, as start-up does.
    void freshProps() const;

private:
    QTemporaryDir m_dir;
    QByteArray m_saved[3];
    // On Windows the store is the user's registry branch, shared by every test: each test starts
    // with the program's applications empty there, and what was there before is put back.
    QList<QPair<QString, QVariantMap>> m_savedStore;
};
