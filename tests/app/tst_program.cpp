// The kalo program as a process: its command line, one running program per settings file, and the
// termination signals, with a home, an installation and a runtime folder of its own.
#include "db/sqlitedb.h"
#include "tests/common/fixturedb.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

class TestProgram : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

    // Without a display: a window can come only from the platform option of a command line.
    void start(QProcess &kalo, const QString &home, const QStringList &arguments) const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name :
             {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_DATA_HOME", "XDG_CONFIG_HOME"})
            env.remove(QLatin1String(name));
        env.insert("HOME", home);
        env.insert("XDG_RUNTIME_DIR", dir.filePath("run"));
        env.insert("QPEDIR", dir.filePath("install"));
        kalo.setProcessEnvironment(env);
        kalo.start(QStringLiteral(KALO_PROGRAM), arguments);
        QVERIFY(kalo.waitForStarted());
    }

private slots:
    void initTestCase() {
        QVERIFY(QDir().mkpath(dir.filePath("run")));
        QVERIFY(QFile::setPermissions(dir.filePath("run"),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        prepareInstallDir(dir.filePath("install"), true, {"PRAGMA user_version = 24"});
        QVERIFY(createFixtureDatabase(dir.filePath("sr28.db"), {"PRAGMA user_version = 28"}));
    }

    void commandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("userDatabase"); // a FOODS.db in the user's data folder
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("text"); // on stdout after status 0, else on stderr
        const QString sr28 = dir.filePath("sr28.db");
        // clang-format off
        QTest::newRow("--help prints the usage") << QStringList{"-h"} << false << 0 << "--database";
        QTest::newRow("--version names the program, Qt, SQLite and the installed data")
            << QStringList{"--version"} << false << 0
            << "SQLite " + SQLiteDB::version() + "\nFood data: USDA SR 24";
        QTest::newRow("the user's own database comes before the installed one")
            << QStringList{"--version"} << true << 0 << "USDA SR 28";
        QTest::newRow("--database names the file to open; Qt's options are let through")
            << QStringList{"-style", "Fusion", "--database", sr28, "-reverse", "-v"} << false << 0
            << "USDA SR 28";
        QTest::newRow("a missing --database file is not replaced by another")
            << QStringList{"--database=none.db", "--version"} << true << 0
            << "none.db: File does not exist";
        QTest::newRow("an unknown option prints the usage on stderr")
            << QStringList{"--frobnicate"} << false << 2 << "--frobnicate\n\nUsage: kalo";
        // clang-format on
    }
    void commandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(bool, userDatabase);
        QTemporaryDir home;
        if (userDatabase)
            QVERIFY(
                QDir().mkpath(home.filePath(".local/share/kalo")) &&
                QFile::copy(dir.filePath("sr28.db"), home.filePath(".local/share/kalo/FOODS.db")));
        QProcess kalo;
        start(kalo, home.path(), arguments);
        QVERIFY(kalo.waitForFinished(20000));
        QCOMPARE(kalo.exitCode(), status);
        const QByteArray printed =
            status == 0 ? kalo.readAllStandardOutput() : kalo.readAllStandardError();
        QFETCH(QString, text);
        QVERIFY2(printed.contains(text.toUtf8()), printed.constData());
    }

    void secondStartAndSignals_data() {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGHUP") << SIGHUP;
    }
    void secondStartAndSignals() {
        QFETCH(int, signal);
        QTemporaryDir home;
        const QString conf = home.filePath(".config/KALO.conf");
        QVERIFY(
            QDir().mkpath(home.filePath(".config")) &&
            writeFile(conf, "[KALO]\nBID = 01009\nBDesc = Cheese|cheddar\nCustomWeight = abc\n"));
        QProcess first;
        start(first, home.path(), {"-platform", "offscreen"});
        // It listens on a socket in the runtime folder once it holds the settings file.
        QTRY_VERIFY_WITH_TIMEOUT(
            !QDir(dir.filePath("run")).entryList({"kalo-*.socket"}, QDir::System).isEmpty(), 20000);
        QProcess second;
        start(second, home.path(), {});
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);
        ::kill(pid_t(first.processId()), signal);
        QVERIFY(first.waitForFinished(20000));
        QCOMPARE(first.exitCode(), 0);
        // Saved on the way out: the number in its compared form, the description from FOODS.db,
        // the weight as the options captured it.
        QVERIFY(
            fileContents(conf).contains("BID = 1009\nBDesc = Cheese, cheddar\nCustomWeight = 100"));
    }
};

QTEST_GUILESS_MAIN(TestProgram)
#include "tst_program.moc"
