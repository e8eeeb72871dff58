#include "test_account.h"

#include "AccountRig.h"

#include "platform/Registry.h"
#include "platform/Seam.h"
#include "ui/account/SysInfo.h"
#include "ui/account/frmAbout.h"

#include <QDir>
#include <QFile>
#include <QMap>
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

} // namespace

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
    rig.whenModal("frmAbout", [](QWidget& w) { click(w, "cmdSysInfo"); });
    frmAbout::ShowModal();
    QStringList starts;
    for (const ShellRecorder::Call& call : rig.shell.calls)
        starts << call.verb + " " + QDir::fromNativeSeparators(call.target) + " " + QString::number(call.showCommand) + " ["
                      + call.arguments.join(",") + "]";
    QCOMPARE(starts, attempt.isEmpty() ? QStringList()
                                       : QStringList("start " + attempt.replace("DIR", dir.path()) + " 1 []"));
    QCOMPARE(rig.shown(0), message ? "OQCREDIT|0|System Information Is Unavailable At This Time" : "|0|");
}
