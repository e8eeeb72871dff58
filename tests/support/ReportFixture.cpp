#include "ReportFixture.h"

#include "core/AppContext.h"
#include "core/clsProperties.h"

#include <QDir>
#include <QFile>

#include <algorithm>

ReportFixture::ReportFixture(const QString& serverUrl)
{
    QDir().mkpath(borrowerFolder());
    const QString ini = "[Directories]\r\nApplication=" + quillFolder() + "\r\nFolder0=" + quillFolder() + "data/\r\n";
    env.writeFile(env.windows() + "/WINQUILL.INI", ini.toUtf8());
    env.freshProps(); // reads WINQUILL.INI
    clsProperties& props = Props();
    props.setServerURL(serverUrl);
    props.setPostLocation("/cia/cgi/marrowCGI.exe?");
    props.setAspUtil("/utils/CGI_Utilities.asp?");
    props.setUserName("demo");
    props.setPassword(Password);
    props.setClientWebsite("www.quill-credit.example");
    props.setClient("Tamsel Credit Services");
    props.setSendDir(env.home() + "/send/");
    props.setArchiveDir(env.home() + "/archive/");
    QDir().mkpath(props.SendDir());
    QDir().mkpath(props.ArchiveDir());
    props.setPollingSleepTime(20);
}

void ReportFixture::installImportProgram() const
{
    env.writeFile(quillFolder() + "IMPORT.EXE", "#!/bin/sh\nexit 0\n");
    QFile::setPermissions(quillFolder() + "IMPORT.EXE", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

int ReportFixture::CountStarting(const QStringList& lines, const QString& start)
{
    return int(
        std::count_if(lines.begin(), lines.end(), [&start](const QString& line) { return line.startsWith(start); }));
}
