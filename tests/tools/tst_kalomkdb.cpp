// The kalo-mkdb command: options, messages, exit status, the file it leaves and how the data is
// named.
#include "db/foodsdatabase.h"
#include "db/sqlitedb.h"
#include "tests/common/fixturedb.h"
#include "tests/tools/toolsfixture.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestKaloMkdb : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

    // Runs kalo-mkdb; its exit status (-1 when it crashed or hung) and what it wrote on stderr.
    static int mkdb(const QStringList &arguments, QString *err) {
        QProcess process;
        process.start(QStringLiteral(KALO_MKDB), arguments);
        if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
            return -1;
        *err = QString::fromUtf8(process.readAllStandardError());
        return process.exitCode();
    }

private slots:
    void initTestCase() {
        QVERIFY(zipFolder(fixturePath(QStringLiteral("jar")), dir.filePath("sr24.jar")));
        QVERIFY(writeFile(dir.filePath("nozip.jar"), "This is not a zip file."));
        // The SR Legacy download zipped in its folder, then that folder without sr_legacy_food.csv;
        // a zip of two downloads.
        const QString legacy = dir.filePath("legacy/FoodData_Central_sr_legacy");
        QVERIFY(copyFixture("fdc-sr-legacy", legacy));
        QVERIFY(zipFolder(dir.filePath("legacy"), dir.filePath("legacy.zip")));
        QByteArray damaged = fileContents(dir.filePath("legacy.zip"));
        damaged[damaged.indexOf("PK\x01\x02") + 16] ^= 1; // the CRC of its first file
        QVERIFY(writeFile(dir.filePath("damaged.zip"), damaged));
        QVERIFY(QFile::remove(legacy + "/sr_legacy_food.csv"));
        QVERIFY(copyFixture("fdc", dir.filePath("two/a")) &&
                copyFixture("fdc", dir.filePath("two/b")));
        QVERIFY(zipFolder(dir.filePath("two"), dir.filePath("two.zip")));
    }

    // Refused: a usage error exits with 2, unreadable input with 1; a file already at the
    // output stays as it was and no unfinished file is left beside it.
    void refused_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        const QString oneInput = QStringLiteral("give one of --jar, --sr-dir and --fdc");
        QTest::newRow("no input") << QStringList{"-o"} << 2 << oneInput;
        QTest::newRow("two inputs")
            << QStringList{"--jar", "a.jar", "--fdc-dir", "b", "-o"} << 2 << oneInput;
        QTest::newRow("no output")
            << QStringList{"--jar", "a.jar"} << 2 << "give the output file with -o";
        QTest::newRow("ASCII files without their release")
            << QStringList{"--sr-dir", "b", "-o"} << 2 << "give the release number";
        QTest::newRow("a release that is no number")
            << QStringList{"--sr-dir", "b", "--release", "R14", "-o"} << 2
            << "--release needs a positive whole number";
        QTest::newRow("SR options with a FoodData Central download")
            << QStringList{"--fdc-dir", "b", "--word-tokens", "-o"} << 2
            << "--release and --word-tokens are for the SR sources";
        QTest::newRow("an unknown option") << QStringList{"--frobnicate"} << 2 << "frobnicate";
        QTest::newRow("a jar that is no zip")
            << QStringList{"--jar", dir.filePath("nozip.jar"), "-o"} << 1
            << "kalo-mkdb: " + dir.filePath("nozip.jar") + ": not a readable jar";
        QTest::newRow("a zip without food.csv")
            << QStringList{"--fdc", dir.filePath("sr24.jar"), "-o"} << 1
            << dir.filePath("sr24.jar") + ": no food.csv in the zip";
        QTest::newRow("a zip with food.csv in two folders names both")
            << QStringList{"--fdc", dir.filePath("two.zip"), "-o"} << 1
            << "food.csv in more than one folder of the zip: a/, b/";
        QTest::newRow("a damaged zip")
            << QStringList{"--fdc", dir.filePath("damaged.zip"), "-o"} << 1 << ".csv: CRC error";
    }
    void refused() {
        QFETCH(QStringList, arguments);
        QTemporaryDir work;
        const QString output = work.filePath(QStringLiteral("FOODS.db"));
        QVERIFY(writeFile(output, "previous"));
        if (arguments.last() == QLatin1String("-o"))
            arguments << output;
        QString err;
        QTEST(mkdb(arguments, &err), "status");
        QFETCH(QString, message);
        QVERIFY2(err.contains(message), qPrintable(err));
        QCOMPARE(fileContents(output), QByteArray("previous"));
        QCOMPARE(QDir(work.path()).entryList(QDir::Files), QStringList{"FOODS.db"});
    }

    void builds_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("summary");
        QTest::addColumn<QString>("name");
        QTest::newRow("the jar, tokenised and quiet")
            << QStringList{"--jar", dir.filePath("sr24.jar"), "--word-tokens", "--quiet"}
            << QString() << "USDA SR 24";
        QTest::newRow("ASCII files, with what was left out")
            << QStringList{"--sr-dir", fixturePath("sr"), "--release", "14"}
            << "ignored the nutrients and weights of 1 foods that FOOD_DES.txt lacks\n"
               "kalo-mkdb: left out the foods without nutrient data: 11998"
            << "USDA SR 14";
        QTest::newRow("a FoodData Central zip, quiet")
            << QStringList{"--fdc", dir.filePath("legacy.zip"), "-q"} << QString()
            << "USDA FoodData Central (SR Legacy) 2019-04-01";
        QTest::newRow("a FoodData Central folder, with what it lacks")
            << QStringList{"--fdc", dir.filePath("legacy/FoodData_Central_sr_legacy")}
            << "kalo-mkdb: built every SR Legacy food of food.csv (7793): the download has no "
               "sr_legacy_food.csv"
            << "USDA FoodData Central (SR Legacy) 2019-04-01";
    }
    void builds() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, summary);
        const QString output = dir.filePath(QStringLiteral("FOODS.db"));
        QString err;
        QCOMPARE(mkdb(arguments << QStringLiteral("-o") << output, &err), 0);
        QVERIFY2(summary.isEmpty() ? err.isEmpty()
                                   : err.contains(summary) && err.contains("wrote " + output),
                 qPrintable(err));
        FoodsDatabase foods;
        QVERIFY(foods.open(output));
        QTEST(foods.dataInfo().displayName(), "name");
    }
};

QTEST_GUILESS_MAIN(TestKaloMkdb)
#include "tst_kalomkdb.moc"
