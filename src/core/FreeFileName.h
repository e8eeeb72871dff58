#pragma once

#include <QByteArray>
#include <QString>

// The name of a new file that must not replace any other: the first of folder+name+"."+extension,
// folder+name+"1."+extension, folder+name+"2."+extension, ... that is free. Choosing the name
// (the constructor) and taking it (take) are separate steps, and taking means creating the file
// exclusively: when another program (another loan officer's client on a shared data folder)
// creates a file under the chosen name in between, take() moves on to the next free name and
// never touches that file. The file is owner-only (PrivateFile). The folder ends with a separator;
// backslashes in it are folder separators (turned into "/" off Windows).
class FreeFileName
{
public:
    FreeFileName(const QString& folder, const QString& name, const QString& extension);

    // The chosen name; after take(), the name taken.
    QString path() const { return m_path; }

    // Creates the file, empty, under the first free name from path() on. Throws AppError when
    // no file can be created in the folder.
    void take();
    // Writes data as the whole file (taking a name first when none is taken), through a
    // temporary file renamed over the taken one. On failure the taken name is given back (the
    // empty file deleted) and AppError thrown.
    void write(const QByteArray& data);
    // Moves the file at source to the taken name (taking one first when none is taken) and makes
    // it owner-only. On failure the taken name is given back and AppError thrown.
    void moveHere(const QString& source);

private:
    QString candidate() const;
    void giveBack();

    QString m_base;
    QString m_extension;
    qint64 m_counter = 0; // 0: no number after the name
    QString m_path;
    bool m_taken = false;
};
