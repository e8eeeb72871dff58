#include "test_account.h"

#include "AccountRig.h"

#include "platform/Registry.h"
#include "platform/Seam.h"
#include "ui/account/SysInfo.h"
#include "ui/ordering/ImageList.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMap>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

using RegistryValues = QMap<QString, QString>;

// Registry values by "key\value name", installed for the test's lifetime.
struct FakeRegistry : Registry {
    QMap<QString, QString> values;
    FakeRegistry() { Seam<Registry>::set(this); }
    ~FakeRegistry() override { Seam<Registry>::set(nullptr); }
    bool QueryString(const QString& keyPath, const QString& valueName, QString& value) override
    {
        const auto found = values.find(keyPath + "\\" + valueName);
        if (found == values.end())
            return false;
        value = *found;
        return true;
    }
};

// PATH for the test's lifetime.
struct SearchPath {
    QByteArray saved = qgetenv("PATH");
    explicit SearchPath(const QString& path) { qputenv("PATH", path.toLocal8Bit()); }
    ~SearchPath() { qputenv("PATH", saved); }
};

QString labelText(QWidget& w, const char* name)
{
    return w.findChild<QLabel*>(QLatin1String(name))->text();
}

} // namespace

void AboutTest::labelsAndLogo_data()
{
    QTest::addColumn<QString>("client");
    QTest::addColumn<QString>("phone");   // empty: GETABOUT has not answered in this run
    QTest::addColumn<int>("logo");
    QTest::newRow("default vendor") << "Tamsel Credit Services" << "(555) 010-0199" << 1;
    QTest::newRow("letter case differs") << "Tamsel credit services" << "(555) 010-0199" << 2;
    QTest::newRow("other vendor, before GETABOUT") << "Other Credit" << "" << 2;
    QTest::newRow("markup from the server") << "Other Credit" << "<a href=\"file:///etc/passwd\"><b>555</b></a>" << 2;
}

void AboutTest::labelsAndLogo()
{
    QFETCH(QString, client);
    QFETCH(QString, phone);
    QFETCH(int, logo);
    Rig rig;
    Props().setClient(client);
    Props().setClientWebsite("https://vendor.example");
    Props().setPhoneNumber(phone);
    Props().setSupportEmail(phone.isEmpty() ? QString() : "support@vendor.example");
    QStringList shown;
    QImage picture;
    bool closedByOK = false;
    bool plain = true;
    whenModal<frmAbout>([&](frmAbout& w) {
        shown << w.windowTitle();
        for (const char* name : {"lblTitle", "lblVersion", "lblWebsite", "lblPhone", "lblEmail"})
            shown << labelText(w, name);
        // Texts from the server and the settings are shown as they are, never as markup or links.
        for (const char* name : {"lblTitle", "lblWebsite", "lblPhone", "lblEmail"})
            plain = plain && w.findChild<QLabel*>(QLatin1String(name))->textFormat() == Qt::PlainText;
        picture = w.findChild<QLabel*>("picIcon")->pixmap().toImage();
        click(w, "cmdOK");
        closedByOK = !w.isVisible();
    });
    frmAbout::ShowModal();
    QCOMPARE(shown, (QStringList{"About OQCREDIT", "OQCREDIT for " + client, "Version 1.1.0", "https://vendor.example",
                                 phone, phone.isEmpty() ? "" : "support@vendor.example"}));
    QVERIFY(closedByOK);
    QVERIFY(plain);
    const ImageList logos;
    QCOMPARE(picture, logos.picture(logo).toImage());
    QVERIFY(picture != logos.picture(3 - logo).toImage());
    QCOMPARE(rig.boxes.boxes.size(), 0);
}

void AboutTest::systemInformationProgram_data()
{
    // Registry values ("DIR" stands for a temporary folder), whether that folder holds
    // MSINFO32.EXE, the program put on PATH, whether starting works, and the program whose
    // start is attempted (empty: none). Without a successful start the message is shown.
    QTest::addColumn<RegistryValues>("registry");
    QTest::addColumn<bool>("fileInFolder");
    QTest::addColumn<QString>("onPath");
    QTest::addColumn<bool>("startWorks");
    QTest::addColumn<QString>("attempt");
    const QString pathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO\\PATH";
    const QString folderKey = "SOFTWARE\\Microsoft\\Shared Tools Location\\MSINFO";
    using Values = RegistryValues;
    QTest::newRow("nothing anywhere") << Values{} << false << "" << true << "";
    QTest::newRow("registry path first, trailing NUL dropped")
        << Values{{pathKey, QString("DIR/msinfo32.exe") + QChar(0)}, {folderKey, "DIR"}} << true << "hardinfo" << true
        << "DIR/msinfo32.exe";
    QTest::newRow("registry folder holding the program") << Values{{folderKey, "DIR"}} << true << "" << true
                                                          << "DIR/MSINFO32.EXE";
    QTest::newRow("registry folder without it") << Values{{folderKey, "DIR"}} << false << "" << true << "";
    QTest::newRow("desktop program on PATH") << Values{} << false << "hardinfo" << true << "DIR/bin/hardinfo";
    QTest::newRow("found but cannot start") << Values{} << false << "kinfocenter" << false << "DIR/bin/kinfocenter";
}

void AboutTest::systemInformationProgram()
{
    QFETCH(RegistryValues, registry);
    QFETCH(bool, fileInFolder);
    QFETCH(QString, onPath);
    QFETCH(bool, startWorks);
    QFETCH(QString, attempt);
#ifdef Q_OS_WIN
    if (!onPath.isEmpty() && attempt.contains("/bin/"))
        QSKIP("Windows has the registry places only; desktop programs on PATH are looked for elsewhere");
#endif
    Rig rig;
    QTemporaryDir dir;
    FakeRegistry fake;
    for (auto it = registry.cbegin(); it != registry.cend(); ++it)
        fake.values[it.key()] = QString(it.value()).replace("DIR", dir.path());
    if (fileInFolder)
        QVERIFY(QFile(dir.filePath("MSINFO32.EXE")).open(QIODevice::WriteOnly));
    QVERIFY(QDir(dir.path()).mkpath("bin"));
    if (!onPath.isEmpty()) {
        QFile program(dir.filePath("bin/" + onPath));
        QVERIFY(program.open(QIODevice::WriteOnly));
        program.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    }
    SearchPath path(dir.filePath("bin"));
    rig.shell.startResult = startWorks;
    const bool message = attempt.isEmpty() || !startWorks;
    if (message)
        rig.boxes.expect(vbOK);
    whenModal<frmAbout>([](frmAbout& w) { click(w, "cmdSysInfo"); });
    frmAbout::ShowModal();
    QStringList starts;
    for (const ShellRecorder::Call& call : rig.shell.calls)
        starts << call.verb + " " + QDir::fromNativeSeparators(call.target) + " " + QString::number(call.showCommand) + " ["
                      + call.arguments.join(",") + "]";
    QCOMPARE(starts, attempt.isEmpty() ? QStringList()
                                       : QStringList("start " + attempt.replace("DIR", dir.path()) + " 1 []"));
    QCOMPARE(rig.shown(0), message ? "OQCREDIT|0|System Information Is Unavailable At This Time" : "|0|");
}
