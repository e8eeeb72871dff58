#include "ReportFixture.h"

#include "core/AppContext.h"
#include "core/clsProperties.h"
#include "service/basReportPdf.h"

#include <QDir>
#include <QFile>

ReportFixture::ReportFixture(const QString& serverUrl) : m_savedWait(WindowHooks::WaitForPdf())
{
    QDir().mkpath(borrowerFolder());
    const QString ini = "[Directories]\r\nApplication=" + quillFolder() + "\r\nFolder0=" + quillFolder() + "data/\r\n";
    env.writeFile(env.windows() + "/WINQUILL.INI", ini.toUtf8());
    env.freshProps(); // reads WINQUILL.INI
    clsProperties& props = Props();
    props.setServerURL(serverUrl);
    props.setPostLocation("/cia/cgi/marrowCGI.exe?");
    props.setAspUtil("/utils/CGI_Utilities.asp?");
    props.setUserName(UserName);
    props.setPassword(Password);
    props.setClientWebsite("www.quill-credit.example");
    props.setClient("Tamsel Credit Services");
    props.setSendDir(env.home() + "/send/");
    props.setArchiveDir(env.home() + "/archive/");
    QDir().mkpath(props.SendDir());
    QDir().mkpath(props.ArchiveDir());
    WindowHooks::WaitForPdf() = [this](const QString& block, QString& answer) { return waitForPdf(block, answer); };
}

ReportFixture::~ReportFixture()
{
    WindowHooks::WaitForPdf() = m_savedWait;
}

QString ReportFixture::quillFolder() const
{
    return QDir::cleanPath(env.home() + "/../quill") + "/";
}

QString ReportFixture::borrowerFolder() const
{
    return quillFolder() + "data/BORROWER/";
}

void ReportFixture::installImportProgram() const
{
    env.writeFile(quillFolder() + "IMPORT.EXE", "#!/bin/sh\nexit 0\n");
    QFile::setPermissions(quillFolder() + "IMPORT.EXE", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

bool ReportFixture::waitForPdf(const QString& block, QString& answer)
{
    for (;;) {
        if (!PollPDF(block, answer))
            return true; // as the window: the conversion's text ends the wait
        ++polls;
        if (closeAfter > 0 && polls >= closeAfter)
            return false;
        if (!answer.startsWith("PENDING")) {
            if (answer.startsWith('<'))
                answer = "FAILED";
            return true;
        }
    }
}

int ReportFixture::CountStarting(const QStringList& lines, const QString& start)
{
    int n = 0;
    for (const QString& line : lines)
        n += line.startsWith(start) ? 1 : 0;
    return n;
}
