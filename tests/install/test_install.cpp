// The program as a user gets it: `cmake --install` of the build into a fresh prefix, the installed
// programs started from an unrelated directory (so only their own data lookup can find the files),
// the menu entry, and the Debian package built by CPack from the same install rules.
#include <QtTest>

#include <QDirIterator>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <memory>

namespace {

const QString kBuildDir = QStringLiteral(TALLYROLL_BUILD_DIR);
const QString kSourceDir = QStringLiteral(TALLYROLL_SOURCE_DIR);

// Every file the install lays out, relative to the prefix, and the source file it copies
// (empty for the built programs).
struct InstalledFile {
    const char* path;
    const char* source;
};
const InstalledFile kInstalled[] = {
    {"bin/tallyroll", ""},
    {"bin/tallyroll-help", ""},
    {"share/tallyroll/area.txt", "data/area.txt"},
    {"share/tallyroll/concentration.txt", "data/concentration.txt"},
    {"share/tallyroll/length.txt", "data/length.txt"},
    {"share/tallyroll/volume.txt", "data/volume.txt"},
    {"share/tallyroll/weight.txt", "data/weight.txt"},
    {"share/tallyroll/calc1.wav", "data/calc1.wav"},
    {"share/tallyroll/calc2.wav", "data/calc2.wav"},
    {"share/tallyroll/CALC1.hlp", "data/CALC1.hlp"},
    {"share/tallyroll/tallyroll.png", "data/tallyroll.png"},
    {"share/applications/tallyroll.desktop", "packaging/tallyroll.desktop"},
    {"share/icons/hicolor/32x32/apps/tallyroll.png", "data/tallyroll.png"},
};

QStringList installedPaths() {
    QStringList paths;
    for (const InstalledFile& f : kInstalled) paths << QString::fromLatin1(f.path);
    paths.sort();
    return paths;
}

struct Result {
    bool finished = false;
    int exitCode = -1;
    QString out;
    QString err;
};

QProcessEnvironment offscreenEnvironment() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return env;
}

// Runs a tool to its end; building a package may take a while on a busy machine.
Result runTool(const QString& program, const QStringList& args, const QString& workDir = {}) {
    QProcess p;
    p.setProcessEnvironment(offscreenEnvironment());
    if (!workDir.isEmpty()) p.setWorkingDirectory(workDir);
    p.start(program, args);
    Result r;
    r.finished = p.waitForFinished(300000) && p.exitStatus() == QProcess::NormalExit;
    r.exitCode = p.exitCode();
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

// The files a traced run opened: strace -ff writes one trace per process and thread, so no call
// is split across lines by another thread's.
QStringList openedPaths(const QString& traceDir) {
    static const QRegularExpression call(QStringLiteral("^openat\\([^,]*, \"([^\"]*)\".*\\) = (-?\\d+)"));
    QStringList paths;
    for (const QFileInfo& trace : QDir(traceDir).entryInfoList(QDir::Files)) {
        QFile f(trace.filePath());
        if (!f.open(QIODevice::ReadOnly)) continue;
        for (const QByteArray& line : f.readAll().split('\n')) {
            const auto m = call.match(QString::fromLocal8Bit(line));
            if (m.hasMatch() && m.captured(2).toInt() >= 0) paths << QDir::cleanPath(m.captured(1));
        }
    }
    return paths;
}

struct Launch {
    bool opened = false;       // the wanted file was opened
    bool stayedUp = false;     // the program still ran a while after that
    QStringList opens;         // every file it opened
    QString err;               // its standard error
};

// Starts `program` under strace from `workDir` and waits until it opens `wanted` or ends. A
// program that opens its data and then keeps running has started properly; it is then stopped.
Launch launchTraced(const QString& program, const QStringList& args, const QString& workDir,
                    const QString& wanted, const QString& traceDir) {
    auto p = std::make_unique<QProcess>();
    p->setProcessEnvironment(offscreenEnvironment());
    p->setWorkingDirectory(workDir);
    // timeout puts strace and the program in a process group of their own, and passes a
    // terminate on to both; the 120 s only bound a program that hangs before opening anything.
    p->start(QStringLiteral("timeout"),
             QStringList{QStringLiteral("120"), QStringLiteral("strace"), QStringLiteral("-ff"),
                         QStringLiteral("-qq"), QStringLiteral("-e"), QStringLiteral("trace=openat"),
                         QStringLiteral("-o"), traceDir + "/trace", program} +
                 args);
    Launch l;
    if (!p->waitForStarted()) return l;
    while (p->state() == QProcess::Running && !openedPaths(traceDir).contains(wanted))
        p->waitForFinished(100);
    l.opened = openedPaths(traceDir).contains(wanted);
    if (l.opened) p->waitForFinished(1500); // a crash right after loading would end it here
    l.stayedUp = p->state() == QProcess::Running;
    p->terminate();
    if (!p->waitForFinished(10000)) p->kill();
    p->waitForFinished();
    l.opens = openedPaths(traceDir);
    l.err = QString::fromLocal8Bit(p->readAllStandardError());
    return l;
}

// Without strace: the program is started under `timeout 3`; 124 means it was still running.
Result launchPlain(const QString& program, const QStringList& args, const QString& workDir) {
    return runTool(QStringLiteral("timeout"), QStringList{QStringLiteral("3"), program} + args, workDir);
}

// Key=value lines of the [Desktop Entry] group.
QMap<QString, QString> desktopEntry(const QString& file) {
    QMap<QString, QString> keys;
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) return keys;
    bool inEntry = false;
    for (const QByteArray& raw : f.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith('[')) inEntry = line == QLatin1String("[Desktop Entry]");
        else if (inEntry && line.contains('=') && !line.startsWith('#'))
            keys.insert(line.section('=', 0, 0).trimmed(), line.section('=', 1).trimmed());
    }
    return keys;
}

} // namespace

class TestInstall : public QObject {
    Q_OBJECT

    QTemporaryDir prefix_;
    QTemporaryDir elsewhere_; // an empty working directory, far from the build tree's data
    QTemporaryDir packageDir_;
    QString deb_;
    bool packageTried_ = false;

    QString installed(const QString& path) const { return prefix_.filePath(path); }

    // Builds the package once, into a folder of the test's own; empty when it could not be built.
    QString package() {
        if (!packageTried_) {
            packageTried_ = true;
            const Result r = runTool(QStringLiteral(TALLYROLL_CPACK),
                                     {QStringLiteral("--config"), kBuildDir + "/CPackConfig.cmake",
                                      QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("-B"),
                                      packageDir_.path()});
            if (!r.finished || r.exitCode != 0) qWarning().noquote() << "cpack failed:" << r.out << r.err;
            const QStringList debs = QDir(packageDir_.path()).entryList({QStringLiteral("*.deb")}, QDir::Files);
            if (debs.size() == 1) deb_ = packageDir_.filePath(debs.first());
        }
        return deb_;
    }

private slots:
    void initTestCase() {
        QVERIFY(prefix_.isValid());
        QVERIFY(elsewhere_.isValid());
        QVERIFY(packageDir_.isValid());
        const Result r = runTool(QStringLiteral(TALLYROLL_CMAKE),
                                 {QStringLiteral("--install"), kBuildDir, QStringLiteral("--prefix"), prefix_.path()});
        QVERIFY2(r.finished && r.exitCode == 0, qPrintable(r.out + r.err));
    }

    void installedFile_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("source");
        for (const InstalledFile& f : kInstalled)
            QTest::newRow(f.path) << QString::fromLatin1(f.path) << QString::fromLatin1(f.source);
    }

    // Each file is in its place; data files are the very files of the source tree, the programs
    // can be run.
    void installedFile() {
        QFETCH(QString, path);
        QFETCH(QString, source);
        const QFileInfo info(installed(path));
        QVERIFY2(info.isFile(), qPrintable(path + " is not installed"));
        if (source.isEmpty()) {
            QVERIFY2(info.isExecutable(), qPrintable(path + " is not executable"));
            return;
        }
        QFile copy(info.filePath()), original(kSourceDir + '/' + source);
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QVERIFY(original.open(QIODevice::ReadOnly));
        QVERIFY2(copy.readAll() == original.readAll(), qPrintable(path + " differs from " + source));
    }

    // Nothing else lands under the prefix: no libraries, tests or benchmarks of the build.
    void installedTreeHasNothingElse() {
        QStringList found;
        for (QDirIterator it(prefix_.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();)
            found << QDir(prefix_.path()).relativeFilePath(it.next());
        found.sort();
        QCOMPARE(found, installedPaths());
    }

    // The menu entry starts the installed program and names the installed icon.
    void desktopEntryPointsAtInstalledFiles() {
        const QString file = installed(QStringLiteral("share/applications/tallyroll.desktop"));
        const QMap<QString, QString> keys = desktopEntry(file);
        QCOMPARE(keys.value(QStringLiteral("Type")), QStringLiteral("Application"));
        QCOMPARE(keys.value(QStringLiteral("Terminal")), QStringLiteral("false"));
        const QString command = keys.value(QStringLiteral("Exec")).section(' ', 0, 0);
        QVERIFY2(QFileInfo(installed("bin/" + command)).isExecutable(), qPrintable("Exec=" + command));
        const QString icon = keys.value(QStringLiteral("Icon"));
        QVERIFY2(QFileInfo(installed("share/icons/hicolor/32x32/apps/" + icon + ".png")).isFile(),
                 qPrintable("Icon=" + icon));
        QVERIFY(keys.value(QStringLiteral("Categories")).split(';').contains(QStringLiteral("Calculator")));

        const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
        if (validator.isEmpty()) QSKIP("desktop-file-validate is missing (package desktop-file-utils)");
        const Result r = runTool(validator, {file});
        QVERIFY2(r.finished && r.exitCode == 0 && r.out.trimmed().isEmpty(), qPrintable(r.out + r.err));
    }

    void installedProgramFindsItsData_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("wanted");
        // The calculator loads its key sounds at start-up; the help viewer is started with the
        // manual's bare name, as the calculator starts it.
        QTest::newRow("tallyroll") << QStringLiteral("bin/tallyroll") << QStringList()
                                   << QStringLiteral("share/tallyroll/calc1.wav");
        QTest::newRow("tallyroll-help") << QStringLiteral("bin/tallyroll-help")
                                        << QStringList{QStringLiteral("CALC1.hlp")}
                                        << QStringLiteral("share/tallyroll/CALC1.hlp");
    }

    // Started from a directory without data files, each installed program opens the file from
    // share/tallyroll under its prefix and keeps running.
    void installedProgramFindsItsData() {
        QFETCH(QString, program);
        QFETCH(QStringList, args);
        QFETCH(QString, wanted);
        QVERIFY(QDir(elsewhere_.path()).isEmpty());

        if (QStandardPaths::findExecutable(QStringLiteral("strace")).isEmpty()) {
            const Result r = launchPlain(installed(program), args, elsewhere_.path());
            QVERIFY2(r.finished && r.exitCode == 124, qPrintable(QString("exit %1: %2").arg(r.exitCode).arg(r.err)));
            QVERIFY2(!r.err.contains(QLatin1String("was not found")), qPrintable(r.err));
            QSKIP("strace is missing: the program stayed up, but which files it opened is not proven");
        }

        QTemporaryDir traceDir;
        QVERIFY(traceDir.isValid());
        const QString wantedPath = QDir::cleanPath(installed(wanted));
        const Launch l = launchTraced(installed(program), args, elsewhere_.path(), wantedPath,
                                      traceDir.path());
        if (!l.opened && l.opens.isEmpty())
            QSKIP("strace cannot trace here (no ptrace permission?)");
        QVERIFY2(l.opened, qPrintable(wantedPath + " was not opened; stderr: " + l.err));
        QVERIFY2(l.stayedUp, qPrintable("ended right after opening its data; stderr: " + l.err));
        QVERIFY2(!l.err.contains(QLatin1String("was not found")), qPrintable(l.err));
        for (const QString& path : l.opens)
            QVERIFY2(!path.startsWith(kBuildDir + '/') && !path.startsWith(kSourceDir + '/'),
                     qPrintable("the installed program reached into the build: " + path));
    }

    // The package holds exactly the installed tree under /usr.
    void debianPackageFiles() {
        if (QStandardPaths::findExecutable(QStringLiteral("dpkg-deb")).isEmpty())
            QSKIP("dpkg-deb is missing: no Debian package is built");
        const QString deb = package();
        QVERIFY2(!deb.isEmpty(), "cpack built no .deb");
        const Result r = runTool(QStringLiteral("dpkg-deb"), {QStringLiteral("--contents"), deb});
        QVERIFY2(r.finished && r.exitCode == 0, qPrintable(r.err));
        QStringList files;
        for (const QString& line : r.out.split('\n', Qt::SkipEmptyParts)) {
            if (line.startsWith('d')) continue; // directories
            const QString path = line.section(' ', -1);
            QVERIFY2(path.startsWith(QLatin1String("./usr/")), qPrintable(line));
            files << path.mid(int(qstrlen("./usr/")));
            if (path.startsWith(QLatin1String("./usr/bin/")))
                QVERIFY2(line.startsWith(QLatin1String("-rwxr-xr-x")), qPrintable(line));
        }
        files.sort();
        QCOMPARE(files, installedPaths());
    }

    void debianPackageControl_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("wanted");
        QTest::addColumn<bool>("fromShlibdeps");
        QTest::newRow("name") << "Package" << "tallyroll" << false;
        QTest::newRow("version") << "Version" << "1.5" << false;
        QTest::newRow("section") << "Section" << "utils" << false;
        QTest::newRow("maintainer") << "Maintainer" << "tallyroll developers <tallyroll@example.org>" << false;
        // What the libraries do not tell: the design's fonts and the packages of Qt's plugins.
        QTest::newRow("fonts-liberation") << "Depends" << "fonts-liberation" << false;
        QTest::newRow("fonts-dejavu-core") << "Depends" << "fonts-dejavu-core" << false;
        QTest::newRow("xcb platform plugin") << "Depends" << "libqt6gui6" << false;
        QTest::newRow("multimedia backends") << "Depends" << "libqt6multimedia6" << false;
        QTest::newRow("print plugin") << "Depends" << "libqt6printsupport6" << false;
        // What dpkg-shlibdeps finds in the two programs.
        QTest::newRow("libc6") << "Depends" << "libc6" << true;
        QTest::newRow("libqt6widgets6") << "Depends" << "libqt6widgets6" << true;
        QTest::newRow("libstdc++6") << "Depends" << "libstdc++6" << true;
    }

    void debianPackageControl() {
        QFETCH(QString, field);
        QFETCH(QString, wanted);
        QFETCH(bool, fromShlibdeps);
        if (QStandardPaths::findExecutable(QStringLiteral("dpkg-deb")).isEmpty())
            QSKIP("dpkg-deb is missing: no Debian package is built");
        if (fromShlibdeps && QStandardPaths::findExecutable(QStringLiteral("dpkg-shlibdeps")).isEmpty())
            QSKIP("dpkg-shlibdeps is missing (package dpkg-dev): only the named dependencies are listed");
        const QString deb = package();
        QVERIFY2(!deb.isEmpty(), "cpack built no .deb");
        const Result r = runTool(QStringLiteral("dpkg-deb"), {QStringLiteral("--field"), deb, field});
        QVERIFY2(r.finished && r.exitCode == 0, qPrintable(r.err));
        const QString value = r.out.simplified();
        if (field != QLatin1String("Depends")) {
            QCOMPARE(value, wanted);
            return;
        }
        QStringList names; // each alternative's package name, without its version
        for (const QString& dep : value.split(',', Qt::SkipEmptyParts))
            for (const QString& alternative : dep.split('|'))
                names << alternative.trimmed().section(' ', 0, 0);
        QVERIFY2(names.contains(wanted), qPrintable("Depends: " + value));
    }
};

QTEST_GUILESS_MAIN(TestInstall)
#include "test_install.moc"
