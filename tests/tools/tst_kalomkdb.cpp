// The kalo-mkdb command: options, messages, exit status, the file it leaves and how the data is
// named.
#include "db/datainfo.h"
#include "db/sqlitedb.h"
#include "tests/tools/toolsfixture.h"

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
    void usageErrors_data();
    void usageErrors();
    void builds_data();
    void builds();
    void badInputLeavesOutputAlone_data();
    void badInputLeavesOutputAlone();
    void dataNames_data();
    void dataNames();

private:
    QTemporaryDir dir;
};

void TestKaloMkdb::initTestCase() {
    QVERIFY(
        zipFolder(fixturePath(QStringLiteral("jar")), dir.filePath(QStringLiteral("sr24.jar"))));
}

void TestKaloMkdb::usageErrors_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    const QString oneInput = QStringLiteral("give one of --jar, --sr-dir and --fdc-dir");
    QTest::newRow("no input") << QStringList{"-o", "x.db"} << oneInput;
    QTest::newRow("two inputs") << QStringList{"--jar", "a.jar", "--fdc-dir", "b", "-o", "x.db"}
                                << oneInput;
    QTest::newRow("no output") << QStringList{"--jar", "a.jar"} << "give the output file with -o";
    QTest::newRow("ASCII files without their release")
        << QStringList{"--sr-dir", "b", "-o", "x.db"} << "give the release number";
    QTest::newRow("a release that is no number")
        << QStringList{"--sr-dir", "b", "--release", "R14", "-o", "x.db"}
        << "--release needs a positive whole number";
    QTest::newRow("SR options with a FoodData Central download")
        << QStringList{"--fdc-dir", "b", "--word-tokens", "-o", "x.db"}
        << "--release and --word-tokens are for the SR sources";
    QTest::newRow("an unknown option") << QStringList{"--frobnicate"} << "frobnicate";
}

void TestKaloMkdb::usageErrors() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const Run run = mkdb(arguments);
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
}

void TestKaloMkdb::builds_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<QString>("name");
    QTest::newRow("the jar, tokenised and quiet")
        << QStringList{"--jar", dir.filePath("sr24.jar"), "--word-tokens", "--quiet"} << QString()
        << "USDA SR 24";
    QTest::newRow("ASCII files, with what was left out")
        << QStringList{"--sr-dir", fixturePath("sr"), "--release", "14"}
        << "ignored the nutrients and weights of 1 foods that FOOD_DES.txt lacks\n"
           "kalo-mkdb: left out the foods without nutrient data: 11998"
        << "USDA SR 14";
    QTest::newRow("a FoodData Central download")
        << QStringList{"--fdc-dir", fixturePath("fdc")}
        << "kalo-mkdb: reading food_nutrient.csv...\n"
        << "USDA FoodData Central (Foundation, SR Legacy, Survey (FNDDS), Branded) 2024-04-18";
}

void TestKaloMkdb::builds() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, summary);
    QFETCH(QString, name);
    const QString output = dir.filePath(QStringLiteral("FOODS.db"));
    const Run run = mkdb(arguments << QStringLiteral("-o") << output);
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(summary.isEmpty()
                 ? !run.err.contains(QLatin1String("kalo-mkdb:"))
                 : run.err.contains(summary) && run.err.contains(QStringLiteral("wrote ") + output),
             qPrintable(run.err));
    SQLiteDB db(output, false);
    QCOMPARE(DataInfo::read(db).displayName(), name);
}

void TestKaloMkdb::badInputLeavesOutputAlone_data() {
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("file"); // changed in a copy of the fixture
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("message");
    QTest::newRow("a malformed line of food.csv")
        << "--fdc-dir"
        << "food.csv" << QByteArray("\"1\",\"sr_legacy_food\"")
        << "/food.csv:11: expected 5 fields, found 2";
    QTest::newRow("a jar that is no zip")
        << "--jar"
        << "nozip.jar" << QByteArray("This is not a zip file.") << "/nozip.jar: not a readable jar";
}

void TestKaloMkdb::badInputLeavesOutputAlone() {
    QFETCH(QString, option);
    QFETCH(QString, file);
    QFETCH(QByteArray, line);
    QFETCH(QString, message);
    QTemporaryDir work;
    const QString output = work.filePath(QStringLiteral("FOODS.db"));
    QFile old(output);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("previous") == 8);
    old.close();
    QString input = work.filePath(file);
    if (option == QLatin1String("--fdc-dir")) {
        input = work.filePath(QStringLiteral("input"));
        QVERIFY(copyFixture(QStringLiteral("fdc"), input));
        QVERIFY(changeFile(QDir(input).filePath(file), QByteArray(), line));
    } else {
        QFile bad(input);
        QVERIFY(bad.open(QIODevice::WriteOnly) && bad.write(line) == line.size());
    }
    const Run run = mkdb({option, input, QStringLiteral("-o"), output});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.startsWith(QStringLiteral("kalo-mkdb: ")) && run.err.contains(message),
             qPrintable(run.err));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("previous"));
    QCOMPARE(QDir(work.path()).entryList({"*.tmp", "*.stage"}, QDir::Files), QStringList());
}

void TestKaloMkdb::dataNames_data() {
    QTest::addColumn<QStringList>("statements");
    QTest::addColumn<QString>("name");
    QTest::newRow("a file without DATA_INFO holds the SR release of its user version")
        << QStringList{"PRAGMA user_version=25"} << "USDA SR 25";
    QTest::newRow("a file without either holds SR release 14") << QStringList() << "USDA SR 14";
}

void TestKaloMkdb::dataNames() {
    QFETCH(QStringList, statements);
    QFETCH(QString, name);
    QTemporaryDir work;
    SQLiteDB db(work.filePath(QStringLiteral("FOODS.db")), true);
    for (const QString &sql : std::as_const(statements))
        db.exec(sql);
    QVERIFY(!db.hasError());
    QCOMPARE(DataInfo::read(db).displayName(), name);
}

QTEST_GUILESS_MAIN(TestKaloMkdb)
#include "tst_kalomkdb.moc"
