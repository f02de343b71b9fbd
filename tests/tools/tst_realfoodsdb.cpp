// The FOODS.db built from the real USDA SR24 data in the build tree.
#include "db/foodsdatabase.h"
#include "db/sqlitedb.h"
#include "db/sqltext.h"
#include "db/wordindex.h"
#include "finding/topcache.h"
#include "tests/common/fixturedb.h"
#include "tests/tools/toolsfixture.h"
#include "tools/foodsdbwriter.h"

#include <QTemporaryDir>
#include <QtTest>

class TestRealFoodsDb : public QObject {
    Q_OBJECT
    QString path;

private slots:
    void initTestCase() {
        REAL_FOODS_DATABASE(real);
        path = real;
    }

    void facts_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("rows");
        QTest::newRow(
            "7,906 foods in 25 groups, each in one; the beef calculator without nutrients out")
            << "select count(*), count(distinct g.FdGrp_Cd), (select count(*) from FOODS_GROUP), "
               "sum(NDB_No = 23999) from FOODS_WR f join FOODS_GROUP g on g.FdGrp_Cd = f.FdGrp_Cd"
            << "7906|25|25|0";
        QTest::newRow("cheddar's whole record: vitamin D in IU, amino acids, nothing it lacks")
            << "select count(*), sum(Nutr_No between 501 and 521), sum(Nutr_No in (605, 209)), "
               "(select Nutr_Val || ' ' || Units from NUTRIENT_DATA d join NUTRIENTS n using "
               "(Nutr_No) where NDB_No=1009 and Nutr_No=324) from NUTRIENT_DATA where NDB_No=1009"
            << "66|18|0|24 IU";
        QTest::newRow("unknown stays unknown: hundreds of foods lack a saturated-fat figure")
            << "select count(*) > 100 from FOODS_WR where FA_Sat is null"
            << "1";
        QTest::newRow("Top 15, most calories: fats and oils of about 900 kcal")
            << "select count(*), min(Energ_Kcal) >= 884, group_concat(distinct FdGrp_Cd) from "
               "topdata_Energ_Kcal_2, FOODS_WR where NDB_No=id"
            << "15|1|0400";
    }

    void facts() {
        QFETCH(QString, sql);
        QFETCH(QString, rows);
        QCOMPARE(queryText(path, sql), rows);
    }

    void installedFileNeedsNoWriteAtStart() {
        QTemporaryDir dir;
        const QString copy = dir.filePath(QStringLiteral("FOODS.db"));
        QVERIFY(QFile::copy(path, copy));
        const QByteArray before = fileContents(copy);
        FoodsDatabase installed;
        QVERIFY(installed.open(copy));
        QVERIFY(installed.connection().run(QStringLiteral("PRAGMA query_only=1")));
        QCOMPARE(debugMessages([&installed] { prepareTopCache(installed); }), QStringList());
        QVERIFY(installed.hasTable(QStringLiteral("topbasis")));
        installed.connection().close();
        QCOMPARE(fileContents(copy), before);
    }

    void wordTokens() {
        // The same descriptions, tokenised as kalo-mkdb --word-tokens does.
        SQLiteDB db(path, false);
        SrData data;
        const ResultRows foods =
            db.exec(QStringLiteral("select NDB_No, desc, FdGrp_Cd from FOODS_WR order by NDB_No"));
        for (int i = 0; i < foods.rowCount(); ++i)
            data.foods.push_back(
                {foods.value(i, 0).toInt(), foods.value(i, 1), foods.value(i, 2), {}, {}});
        QTemporaryDir dir;
        const QString tokenisedPath = dir.filePath(QStringLiteral("FOODS.db"));
        FoodsDbWriter writer;
        QVERIFY2(writer.write(data, tokenisedPath, {true}), qPrintable(writer.errorString()));
        QVERIFY(writer.dictionarySize() > 100);
        SQLiteDB tokenised(tokenisedPath, false);

        // Lossless: every description expands back to its exact text.
        FoodsDatabase tokenisedFoods;
        QVERIFY(tokenisedFoods.open(tokenisedPath) && tokenisedFoods.loadWords());
        const WordIndex &index = tokenisedFoods.words();
        const ResultRows stored =
            tokenised.exec(QStringLiteral("select NDB_No, desc from FOODS_WR order by NDB_No"));
        QCOMPARE(stored.rowCount(), foods.rowCount());
        for (int i = 0; i < stored.rowCount(); ++i)
            QCOMPARE(expandDescription(stored.value(i, 1), index), foods.value(i, 1));

        // Searching a word's token finds the same foods as searching its text in plain data, and
        // looking the text up gives that token.
        tokenised.exec("attach '" + sqlQuoted(path) + "' as plain");
        const QString differing = QStringLiteral(
            "select TEXT from WORDS_WR w where (select group_concat(NDB_No) from (select NDB_No "
            "from FOODS_WR where desc like '%' || w.WID || '%' order by 1)) is not (select "
            "group_concat(NDB_No) from (select NDB_No from plain.FOODS_WR where desc like '%' || "
            "w.TEXT || '%' order by 1)) or (select WID from WORDS_WR where TEXT like w.TEXT) <> "
            "WID");
        QCOMPARE(tokenised.exec(differing).value(0, 0), QString()); // the first that differs
        QVERIFY(!tokenised.hasError());
    }
};

QTEST_GUILESS_MAIN(TestRealFoodsDb)
#include "tst_realfoodsdb.moc"
