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
    }

    // Refused: a usage error exits with 2, unreadable input with 1; a file already at the
    // output stays as it was and no unfinished file is left beside it.
    void refused_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        const QString oneInput = QStringLiteral("give one of --jar, --sr-dir and --fdc-dir");
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
    }
    void builds() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, summary);
        const QString output = dir.filePath(QStringLiteral("FOODS.db"));
        QString err;
        QCOMPARE(mkdb(arguments << QStringLiteral("-o") << output, &err), 0);
        QVERIFY2(summary.isEmpty() ? !err.contains(QLatin1String("kalo-mkdb:"))
                                   : err.contains(summary) && err.contains("wrote " + output),
                 qPrintable(err));
        FoodsDatabase foods;
        QVERIFY(foods.open(output));
        QTEST(foods.dataInfo().displayName(), "name");
    }
};

QTEST_GUILESS_MAIN(TestKaloMkdb)
#include "tst_kalomkdb.moc"
