// The kalo-mkdb command: options, messages, exit status and the file it leaves.
#include "db/sqlitedb.h"
#include "tests/tools/srfixtures.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

Run mkdb(const QStringList &arguments) {
    QProcess process;
    process.start(QStringLiteral(KALO_MKDB), arguments);
    Run run;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

} // namespace

class TestKaloMkdb : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void help();
    void usageErrors_data();
    void usageErrors();
    void asciiBuild();
    void jarBuildWithWordTokens();
    void badInputLeavesOutputAlone_data();
    void badInputLeavesOutputAlone();

private:
    QTemporaryDir dir;
    QString ascii;
    QString jar;
};

void TestKaloMkdb::initTestCase() {
    ascii = dir.filePath(QStringLiteral("sr14"));
    QVERIFY(writeAsciiFixture(ascii));
    jar = dir.filePath(QStringLiteral("usda_sr24.jar"));
    QVERIFY(writeZip(jar, jarFixtureEntries()));
}

void TestKaloMkdb::help() {
    const Run run = mkdb({QStringLiteral("--help")});
    QCOMPARE(run.exitCode, 0);
    for (const char *option : {"--jar", "--sr-dir", "--release", "--output", "--word-tokens"})
        QVERIFY2(run.out.contains(QLatin1String(option)), option);
}

void TestKaloMkdb::usageErrors_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("no input") << QStringList{"-o", "x.db"} << "give either --jar or --sr-dir";
    QTest::newRow("two inputs") << QStringList{"--jar", "a.jar", "--sr-dir", "b", "-o", "x.db"}
                                << "give either --jar or --sr-dir";
    QTest::newRow("no output") << QStringList{"--jar", "a.jar"} << "give the output file with -o";
    QTest::newRow("ASCII files without their release")
        << QStringList{"--sr-dir", "b", "-o", "x.db"} << "give the release number";
    QTest::newRow("a release that is no number")
        << QStringList{"--sr-dir", "b", "--release", "R14", "-o", "x.db"}
        << "--release needs a positive whole number";
    QTest::newRow("an unknown option") << QStringList{"--frobnicate"} << "frobnicate";
}

void TestKaloMkdb::usageErrors() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const Run run = mkdb(arguments);
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
}

void TestKaloMkdb::asciiBuild() {
    const QString output = dir.filePath(QStringLiteral("sr14.db"));
    const Run run = mkdb({QStringLiteral("--sr-dir"), ascii, QStringLiteral("--release"),
                          QStringLiteral("14"), QStringLiteral("-o"), output});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.err.contains(QStringLiteral("left out the foods without nutrient data: 11998")),
             qPrintable(run.err));
    QVERIFY2(run.err.contains(QStringLiteral("5 foods in 3 groups, release 14")),
             qPrintable(run.err));
    // The program's cache code ran, with its debug lines.
    QVERIFY(
        run.err.contains(QStringLiteral("executing query:insert into topdata_FA_Sat_0 values")));
    SQLiteDB db(output, false);
    QCOMPARE(db.userVersion(), 14);
    QCOMPARE(db.exec(QStringLiteral("select desc from FOODS_WR where NDB_No=11999")).value(0, 0),
             QStringLiteral("Crème brûlée, “café” style"));
}

void TestKaloMkdb::jarBuildWithWordTokens() {
    const QString output = dir.filePath(QStringLiteral("jar.db"));
    const Run run = mkdb({QStringLiteral("--jar"), jar, QStringLiteral("--word-tokens"),
                          QStringLiteral("--quiet"), QStringLiteral("--output"), output});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(!run.err.contains(QStringLiteral("kalo-mkdb:")), qPrintable(run.err));
    SQLiteDB db(output, false);
    QCOMPARE(db.userVersion(), 24);
    QCOMPARE(db.exec(QStringLiteral("select count(*) from FOODS_WR")).value(0, 0),
             QStringLiteral("5"));
    QCOMPARE(db.exec(QStringLiteral("select FdGrp_Cd from FOODS_WR where NDB_No=8510")).value(0, 0),
             QStringLiteral("2500"));
}

void TestKaloMkdb::badInputLeavesOutputAlone_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");
    QTest::newRow("a malformed line of FOOD_DES.txt") << "ascii"
                                                      << "/FOOD_DES.txt:2: ";
    QTest::newRow("a jar that is missing") << "missing"
                                           << "/absent.jar: ";
    QTest::newRow("a jar that is no zip") << "nozip"
                                          << "/nozip.jar: not a readable jar";
}

void TestKaloMkdb::badInputLeavesOutputAlone() {
    QFETCH(QString, kind);
    QFETCH(QString, message);
    QTemporaryDir work;
    const QString output = work.filePath(QStringLiteral("FOODS.db"));
    {
        QFile old(output);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("previous");
    }
    QStringList arguments;
    if (kind == QLatin1String("ascii")) {
        const QString folder = work.filePath(QStringLiteral("bad"));
        QVERIFY(writeAsciiFixture(folder));
        QFile foods(QDir(folder).filePath(QStringLiteral("FOOD_DES.txt")));
        QVERIFY(foods.open(QIODevice::ReadWrite));
        QByteArray bytes = foods.readAll();
        bytes.insert(bytes.indexOf('\n') + 1, "~01002~^~0100~^~Butter, whipped\r\n");
        foods.seek(0);
        foods.write(bytes);
        foods.close();
        arguments << QStringLiteral("--sr-dir") << folder << QStringLiteral("--release")
                  << QStringLiteral("14");
    } else if (kind == QLatin1String("missing")) {
        arguments << QStringLiteral("--jar") << work.filePath(QStringLiteral("absent.jar"));
    } else {
        QFile bad(work.filePath(QStringLiteral("nozip.jar")));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("This is not a zip file.");
        bad.close();
        arguments << QStringLiteral("--jar") << bad.fileName();
    }
    const Run run = mkdb(arguments << QStringLiteral("-o") << output);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QVERIFY2(run.err.startsWith(QStringLiteral("kalo-mkdb: ")), qPrintable(run.err));
    QFile old(output);
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("previous"));
}

QTEST_GUILESS_MAIN(TestKaloMkdb)
#include "tst_kalomkdb.moc"
