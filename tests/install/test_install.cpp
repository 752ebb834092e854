// The program as a user gets it: `cmake --install` of the build into a fresh prefix, the installed
// programs started from an unrelated directory (so only their own data lookup can find the files),
// and the Debian package built by CPack from the same install rules.
#include <QtTest>

#include <QDirIterator>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

const QString kBuildDir = TALLYROLL_BUILD_DIR;
const QString kSourceDir = TALLYROLL_SOURCE_DIR;

// Every file the install lays out, relative to the prefix, and the source file it copies
// (empty for the built programs).
const std::pair<QString, QString> kInstalled[] = {
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
    for (const auto& f : kInstalled) paths << f.first;
    paths.sort();
    return paths;
}

// Starts a program headless; the caller waits for it.
void start(QProcess& p, const QString& program, const QStringList& args, const QString& workDir = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(workDir);
    p.start(program, args);
}

// Runs a tool to its end (building a package may take a while on a busy machine); its output, or
// empty after a failure, which the test then shows with the error output.
QString runTool(const QString& program, const QStringList& args, QString* err = nullptr) {
    QProcess p;
    start(p, program, args);
    const bool ok = p.waitForFinished(300000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (err) *err = QString::fromLocal8Bit(p.readAllStandardError());
    return ok ? QString::fromLocal8Bit(p.readAllStandardOutput()) : QString();
}

// The files a traced run opened: strace -ff writes one trace per process and thread, so no call
// is split across lines by another thread's.
QStringList openedPaths(const QString& traceDir) {
    static const QRegularExpression call("^openat\\([^,]*, \"([^\"]*)\".*\\) = (-?\\d+)");
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

} // namespace

class TestInstall : public QObject {
    Q_OBJECT

    QTemporaryDir prefix_;
    QTemporaryDir elsewhere_; // an empty working directory, far from the build tree's data
    QTemporaryDir packageDir_;
    QString deb_;

    QString installed(const QString& path) const { return prefix_.filePath(path); }

    // Builds the package once, into a folder of the test's own; empty when it could not be built.
    QString package() {
        if (deb_.isEmpty()) {
            QString err;
            runTool(TALLYROLL_CPACK, {"--config", kBuildDir + "/CPackConfig.cmake", "-G", "DEB", "-B", packageDir_.path()}, &err);
            const QStringList debs = QDir(packageDir_.path()).entryList({"*.deb"}, QDir::Files);
            if (debs.size() == 1) deb_ = packageDir_.filePath(debs.first());
            else qWarning().noquote() << "cpack failed:" << err;
        }
        return deb_;
    }

private slots:
    void initTestCase() {
        QVERIFY(prefix_.isValid() && elsewhere_.isValid() && packageDir_.isValid());
        QString err;
        runTool(TALLYROLL_CMAKE, {"--install", kBuildDir, "--prefix", prefix_.path()}, &err);
        QVERIFY2(QFileInfo(installed("bin/tallyroll")).isFile(), qPrintable(err));
    }

    // Exactly the listed files land under the prefix (no libraries, tests or benchmarks of the
    // build); data files are the very files of the source tree, the programs can be run.
    void installedTree() {
        QStringList found;
        for (QDirIterator it(prefix_.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();)
            found << QDir(prefix_.path()).relativeFilePath(it.next());
        found.sort();
        QCOMPARE(found, installedPaths());
        for (const auto& [path, source] : kInstalled) {
            if (source.isEmpty()) {
                QVERIFY2(QFileInfo(installed(path)).isExecutable(), qPrintable(path + " is not executable"));
                continue;
            }
            QFile copy(installed(path)), original(kSourceDir + '/' + source);
            QVERIFY(copy.open(QIODevice::ReadOnly) && original.open(QIODevice::ReadOnly));
            QVERIFY2(copy.readAll() == original.readAll(), qPrintable(path + " differs from " + source));
        }
    }

    void installedProgramFindsItsData_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("wanted");
        // The calculator loads its key sounds at start-up; the help viewer is started with the
        // manual's bare name, as the calculator starts it.
        QTest::newRow("tallyroll") << "bin/tallyroll" << QStringList() << "share/tallyroll/calc1.wav";
        QTest::newRow("tallyroll-help") << "bin/tallyroll-help" << QStringList{"CALC1.hlp"} << "share/tallyroll/CALC1.hlp";
    }

    // Started under strace from a directory without data files, each installed program opens the
    // file from share/tallyroll under its prefix, never the build tree's, and keeps running.
    void installedProgramFindsItsData() {
        QFETCH(QString, program);
        QFETCH(QStringList, args);
        QFETCH(QString, wanted);
        if (QStandardPaths::findExecutable("strace").isEmpty()) QSKIP("strace is missing: opened files cannot be seen");
        QVERIFY(QDir(elsewhere_.path()).isEmpty());
        QTemporaryDir traceDir;
        QVERIFY(traceDir.isValid());
        const QString wantedPath = QDir::cleanPath(installed(wanted));
        QProcess p;
        // timeout puts strace and the program in a process group of their own, and passes a
        // terminate on to both; the 120 s only bound a program that hangs before opening anything.
        start(p, "timeout", QStringList{"120", "strace", "-ff", "-qq", "-e", "trace=openat", "-o",
                                        traceDir.filePath("trace"), installed(program)} + args, elsewhere_.path());
        QVERIFY(p.waitForStarted());
        while (p.state() == QProcess::Running && !openedPaths(traceDir.path()).contains(wantedPath))
            p.waitForFinished(100);
        const bool opened = openedPaths(traceDir.path()).contains(wantedPath);
        if (opened) p.waitForFinished(1500); // a crash right after loading would end it here
        const bool stayedUp = p.state() == QProcess::Running;
        p.terminate();
        if (!p.waitForFinished(10000)) p.kill();
        p.waitForFinished();
        const QStringList opens = openedPaths(traceDir.path());
        const QString err = QString::fromLocal8Bit(p.readAllStandardError());
        if (!opened && opens.isEmpty()) QSKIP("strace cannot trace here (no ptrace permission?)");
        QVERIFY2(opened, qPrintable(wantedPath + " was not opened; stderr: " + err));
        QVERIFY2(stayedUp, qPrintable("ended right after opening its data; stderr: " + err));
        QVERIFY2(!err.contains("was not found"), qPrintable(err));
        for (const QString& path : opens)
            QVERIFY2(!path.startsWith(kBuildDir + '/') && !path.startsWith(kSourceDir + '/'),
                     qPrintable("the installed program reached into the build: " + path));
    }

    // The package holds exactly the installed tree under /usr, its programs executable.
    void debianPackageFiles() {
        if (QStandardPaths::findExecutable("dpkg-deb").isEmpty()) QSKIP("dpkg-deb is missing: no Debian package is built");
        const QString deb = package();
        QVERIFY2(!deb.isEmpty(), "cpack built no .deb");
        QStringList files;
        for (const QString& line : runTool("dpkg-deb", {"--contents", deb}).split('\n', Qt::SkipEmptyParts)) {
            if (line.startsWith('d')) continue; // directories
            const QString path = line.section(' ', -1);
            QVERIFY2(path.startsWith("./usr/"), qPrintable(line));
            files << path.mid(int(qstrlen("./usr/")));
            if (path.startsWith("./usr/bin/")) QVERIFY2(line.startsWith("-rwxr-xr-x"), qPrintable(line));
        }
        files.sort();
        QCOMPARE(files, installedPaths());
    }

    // Depends names what the libraries do not tell (the design's fonts, the packages of Qt's
    // plugins) and what dpkg-shlibdeps finds in the two programs.
    void debianPackageDepends() {
        if (QStandardPaths::findExecutable("dpkg-shlibdeps").isEmpty())
            QSKIP("dpkg-shlibdeps is missing (package dpkg-dev): no Debian package is built");
        const QString deb = package();
        QVERIFY2(!deb.isEmpty(), "cpack built no .deb");
        const QString depends = runTool("dpkg-deb", {"--field", deb, "Depends"}).simplified();
        QStringList names; // each alternative's package name, without its version
        for (const QString& dep : depends.split(',', Qt::SkipEmptyParts))
            for (const QString& alternative : dep.split('|')) names << alternative.trimmed().section(' ', 0, 0);
        for (const char* wanted : {"fonts-liberation", "fonts-dejavu-core", "libqt6gui6", "libqt6multimedia6",
                                   "libqt6printsupport6", "libc6", "libqt6widgets6", "libstdc++6"})
            QVERIFY2(names.contains(wanted), qPrintable(QString(wanted) + " missing from Depends: " + depends));
    }
};

QTEST_GUILESS_MAIN(TestInstall)
#include "test_install.moc"
