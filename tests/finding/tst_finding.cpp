// Finding foods without a window: search statements run on a fixture database, the search
// history, description expansion and the ranking cache.
#include "db/foodsdatabase.h"
#include "db/sqlitedb.h"
#include "db/sqltext.h"
#include "db/wordindex.h"
#include "details/finderchoices.h"
#include "finding/bestmatch.h"
#include "finding/finderstream.h"
#include "finding/foodsearch.h"
#include "finding/foodstream.h"
#include "finding/statements.h"
#include "finding/topcache.h"
#include "finding/toprankings.h"
#include "tests/common/fixturedb.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

namespace {

// The first column of each row, or with three its first three columns joined.
QStringList column0(const ResultRows &rows, bool three = false) {
    QStringList values;
    for (int i = 0; i < rows.rowCount(); ++i)
        values << rows.value(i, 0) +
                      (three ? '|' + rows.value(i, 1) + '|' + rows.value(i, 2) : QString());
    return values;
}

// The foods a search lists, read whole; ranked by the words when there are any.
QStringList listed(SQLiteDB &db, const QString &sql, const QStringList &rankWords = {},
                   bool descriptions = false) {
    FoodStream stream(db, WordIndex(), sql, Qt::AscendingOrder, rankWords);
    QStringList rows;
    if (!stream.start())
        return {QStringLiteral("error: ") + stream.error()};
    stream.finish();
    stream.setReadingInTurn(true); // as a whole list is written out
    for (int i = 0; i < stream.count(); ++i)
        rows << (descriptions ? stream.description(i) : QString::number(stream.foodId(i)));
    return rows;
}

QStringList sorted(QStringList list) {
    list.sort();
    return list;
}

} // namespace

class TestFinding : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("FOODS.db")); }

private slots:
    void search_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("group");
        QTest::addColumn<QStringList>("damage");
        // The statement's condition, between "from FOODS_WR" and " order by", where its text is
        // the point; "-": no statement; null: not checked.
        QTest::addColumn<QString>("condition");
        QTest::addColumn<QStringList>("foods"); // "error": the statement fails
        QTest::addColumn<int>("errors");
        QTest::addColumn<bool>("allWords");
        const QString all = allCategoriesName();
        const QStringList barcodes{"CREATE TABLE BARCODES (Code TEXT, NDB_No INTEGER)",
                                   "INSERT INTO BARCODES VALUES ('4011200296908', 11215)"};
        QTest::newRow("all words: each word's condition joined with and, the group kept")
            << "raw Carrots"
            << "Vegetables and Vegetable Products" << QStringList() << QString()
            << QStringList{"11124"} << 0 << true;
        QTest::newRow("a barcode of 8 to 14 digits finds its food, leading zeros dropped")
            << "04011200296908 oil" << all << barcodes << QString() << QStringList{"4053", "11215"}
            << 0 << false;
        QTest::newRow("a dictionary word is searched as its token")
            << "Cheddar" << all << QStringList() << QString() << QStringList{"1009"} << 0 << false;
        QTest::newRow("words are alternatives, separated by comma, blank, bar, brackets, plus")
            << "raw,(Oil)" << all << QStringList() << QString()
            << QStringList{"4053", "11215", "1123", "11124"} << 0 << false;
        QTest::newRow("separators alone list every food")
            << " ,+" << all << QStringList() << QString()
            << QStringList{"4053", "11215", "1123", "1009", "11124", "1001"} << 0 << false;
        QTest::newRow("separators alone within a group list the group's foods")
            << ","
            << "Fats and Oils" << QStringList() << QString() << QStringList{"4053"} << 0 << false;
        QTest::newRow("within a group, a dictionary word and a plain word as alternatives")
            << "Cheddar Salted"
            << "Dairy and Egg Products" << QStringList()
            << " where FdGrp_Cd='0100' and (  desc like '%@CHD@%'  or desc like '%Salted%' ) "
            << QStringList{"1009", "1001"} << 0 << false;
        QTest::newRow("a repeated word is looked up and searched once")
            << "raw raw|raw" << all << QStringList() << QString()
            << QStringList{"11215", "1123", "11124"} << 0 << false;
        QTest::newRow("an apostrophe is doubled and cannot end the literal")
            << "x' or 1=1; drop table FOODS_WR; --" << all << QStringList()
            << " where desc like '%x''%'  or desc like '%or%'  or desc like '%1=1;%'  or desc like "
               "'%drop%'  or desc like '%table%'  or desc like '%FOODS_WR;%'  or desc like '%--%' "
            << QStringList() << 0 << false;
        QTest::newRow("a NUL character is left out of the literal")
            << QStringLiteral("ra%1w").arg(QChar(0)) << all << QStringList() << QString()
            << QStringList{"11215", "1123", "11124"} << 0 << false;
        QTest::newRow("a group name that is no group finds nothing")
            << "raw"
            << "Grandma's" << QStringList() << QString() << QStringList() << 0 << false;
        QTest::newRow("a failed group look-up searches all groups")
            << "oil"
            << "Fats and Oils" << QStringList{"drop table FOODS_GROUP"} << QString()
            << QStringList{"4053"} << 1 << false;
        QTest::newRow("words whose look-ups all fail search nothing")
            << "oil raw" << all << QStringList{"drop table WORDS_WR"} << "-" << QStringList() << 2
            << false;
        QTest::newRow("an empty text searches nothing")
            << "" << all << QStringList() << "-" << QStringList() << 0 << false;
    }
    void search() {
        QFETCH(QString, text);
        QFETCH(QString, group);
        QFETCH(QStringList, damage);
        QFETCH(QString, condition);
        QFETCH(QStringList, foods);
        QFETCH(int, errors);
        QFETCH(bool, allWords);
        // The damage comes after the open: a file that lacks its groups would not open at all.
        QVERIFY(createFixtureDatabase(path()));
        FoodsDatabase foodsDb;
        QVERIFY(foodsDb.open(path()));
        SQLiteDB &db = foodsDb.connection();
        for (const QString &sql : damage)
            QVERIFY(db.run(sql));
        foodsDb.learnTables();
        int errorCount = 0;
        SearchOptions options;
        options.allWords = allWords;
        const QString sql = foodSearchStatement(foodsDb, text, group, options,
                                                [&](const QString &) { ++errorCount; });
        QCOMPARE(errorCount, errors);
        if (condition == QLatin1String("-")) {
            QVERIFY(sql.isNull());
            return;
        }
        if (!condition.isNull())
            QCOMPARE(sql, "select NDB_No,desc from FOODS_WR" + condition + " order by desc desc");
        const ResultRows rows = db.exec(sql);
        QCOMPARE(db.hasError(), foods == QStringList{"error"});
        if (!db.hasError())
            QCOMPARE(column0(rows), foods);
        QCOMPARE(db.exec(QStringLiteral("select count(*) from FOODS_WR")).value(0, 0),
                 QStringLiteral("6"));
    }

    void bestMatchOrder_data() {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QStringList>("descriptions"); // in the expected order
        QTest::newRow("more different words first, a word and its plural counting once")
            << QStringList{"apple", "pie"}
            << QStringList{"Apples, apple pie filling", "Pie, apple", "Apples, raw"};
        QTest::newRow("whole words only, in any letter case")
            << QStringList{"EGG"} << QStringList{"Bread, egg", "Eggnog", "Eggplant, raw"};
        QTest::newRow("a search word in the plural finds the singular")
            << QStringList{"peaches"} << QStringList{"Peach, raw", "Babyfood, peach"};
        QTest::newRow("a first part that is a search word ranks first, then fewer parts")
            << QStringList{"egg"}
            << QStringList{"Eggs, scrambled, frozen", "Egg, yolk, raw, fresh", "Bagels, egg",
                           "Babyfood, egg, yolks, strained"};
        QTest::newRow("no words: by name") << QStringList() << QStringList{"B, c, d", "C"};
    }
    void bestMatchOrder() {
        QFETCH(QStringList, words);
        QFETCH(QStringList, descriptions);
        QStringList shuffled = descriptions;
        std::reverse(shuffled.begin(), shuffled.end());
        QStringList ranked;
        for (const int i : ::bestMatchOrder(shuffled, words))
            ranked << shuffled.at(i);
        QCOMPARE(ranked, descriptions);
    }

    // On the real data, with a trigram index for all rows: the index gives exactly the foods of
    // the plain scan, as many as sqlite3 counts; Best Match lists the same foods as By Name,
    // the plain food first.
    void realSearch_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("allWords");
        QTest::addColumn<bool>("indexed");
        QTest::addColumn<QStringList>("first"); // under Best Match
        QTest::newRow("egg") << "egg" << false << true
                             << QStringList{"Egg, white, dried", "Egg, whole, dried",
                                            "Egg, yolk, dried", "Eggs, scrambled, frozen mixture"};
        QTest::newRow("apple") << "apple" << false << true << QStringList{"Apples, raw, with skin"};
        QTest::newRow("milk") << "milk" << false << true
                              << QStringList{"Milk, buttermilk, dried", "Milk, imitation, non-soy"};
        QTest::newRow("cheddar cheese")
            << "cheddar cheese" << false << true << QStringList{"Cheese, cheddar"};
        QTest::newRow("cheddar cheese, all words")
            << "cheddar cheese" << true << true << QStringList{"Cheese, cheddar"};
        QTest::newRow("words under three characters are scanned")
            << "oz ra" << false << false << QStringList();
        QTest::newRow("a short word among all words")
            << "cheese ra" << true << true << QStringList();
        QTest::newRow("'_' is a wildcard") << "che_dar" << false << true << QStringList();
        QTest::newRow("no three characters between wildcards")
            << "c%d%r" << false << false << QStringList();
        QTest::newRow("an apostrophe") << "McDonald's" << false << true << QStringList();
        QTest::newRow("a double quote") << "12\"" << false << true << QStringList();
        QTest::newRow("letters beyond ASCII: only their own case")
            << "crème" << false << true << QStringList{"Crème fraîche, CRÈME"};
    }
    void realSearch() {
        REAL_FOODS_DATABASE(foods);
        QFETCH(QString, text);
        QFETCH(bool, allWords);
        const QString indexed = dir.filePath(QStringLiteral("indexed.db"));
        // One copy with the index for all rows. SR24 writes no letter beyond ASCII: one food gets
        // some, in both cases.
        if (!QFile::exists(indexed)) {
            QVERIFY(QFile::copy(foods, indexed));
            QFile(indexed).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
            QVERIFY(
                runStatements(indexed, {"UPDATE FOODS_WR SET desc = 'Crème fraîche, CRÈME' WHERE "
                                        "NDB_No = 1001",
                                        "DROP TABLE IF EXISTS FOODS_FTS",
                                        "CREATE VIRTUAL TABLE FOODS_FTS USING fts5(\"desc\", "
                                        "content='FOODS_WR', content_rowid='NDB_No', "
                                        "tokenize='trigram')",
                                        "INSERT INTO FOODS_FTS(FOODS_FTS) VALUES('rebuild')"}));
        }
        FoodsDatabase foodsDb;
        QVERIFY(foodsDb.open(indexed));
        SQLiteDB &db = foodsDb.connection();
        SearchOptions options;
        options.allWords = allWords;
        options.nameOrder = Qt::AscendingOrder;
        const QString viaIndex =
            foodSearchStatement(foodsDb, text, allCategoriesName(), options, {});
        options.indexLimit = -1;
        const QString scan = foodSearchStatement(foodsDb, text, allCategoriesName(), options, {});
        QTEST(viaIndex.contains("FOODS_FTS"), "indexed");
        QVERIFY(!scan.contains("FOODS_FTS"));
        const QStringList found = listed(db, scan, {}, true); // read in a second pass
        QCOMPARE(sorted(listed(db, viaIndex, {}, true)), sorted(found));
        QStringList likes;
        for (const QString &word : searchWords(text))
            likes << "desc like '%" + sqlQuoted(word) + "%'";
        QCOMPARE(QString::number(found.size()), db.exec("select count(*) from FOODS_WR where " +
                                                        likes.join(allWords ? " and " : " or "))
                                                    .value(0, 0));
        QVERIFY(!found.isEmpty() || text == "12\"");
        const QStringList ranked = listed(db, scan, searchWords(text), true);
        QFETCH(QStringList, first);
        QCOMPARE(ranked.mid(0, first.size()), first);
        QCOMPARE(sorted(ranked), sorted(found)); // looked up one by one
        // Every "Egg, ..." or "Eggs, ..." food before any babyfood.
        QVERIFY(first.isEmpty() || ranked.lastIndexOf(QRegularExpression("Eggs?, .*")) <
                                       qMax(0, ranked.indexOf(QRegularExpression("Babyfood.*"))));
    }

    // A list whose reading fails part way keeps the rows read, ranked as a whole list would be.
    void listFailingPartWay() {
        SQLiteDB db(":memory:", true);
        const QString sql = "select 2, 'Bread, egg' union all select 1, 'Egg, raw' union all "
                            "select abs(-9223372036854775807 - 1), ''";
        QCOMPARE(listed(db, sql, {"egg"}), (QStringList{"1", "2"}));
    }

    // The live Top 15 against the ranking made with plain SQL on the same file (foods without a
    // figure left out), and the line of how many foods have a figure.
    void topLive_data() {
        QTest::addColumn<int>("criterion");
        QTest::addColumn<QString>("group"); // empty: all groups
        QTest::addColumn<int>("basis");
        QTest::addColumn<QString>("coverage");
        QTest::newRow("vitamin E per 100 g, all groups") << 9 << "" << 0 << "4908 of 7906";
        QTest::newRow("least calories per 100 g among vegetables")
            << 3 << "Vegetables and Vegetable Products" << 0 << "814 of 814";
        QTest::newRow("least saturated fat per 100 kcal: no energy, no figure")
            << 1 << "" << 1 << "7574 of 7906";
        QTest::newRow("protein per serving in dairy")
            << 19 << "Dairy and Egg Products" << 2 << "253 of 253";
        QTest::newRow("iron per serving, all groups") << 13 << "" << 2 << "7784 of 7906";
    }
    void topLive() {
        REAL_FOODS_DATABASE(foods);
        QFETCH(int, criterion);
        QFETCH(QString, group);
        QFETCH(int, basis);
        FoodsDatabase foodsDb;
        QVERIFY(foodsDb.open(foods));
        SQLiteDB &db = foodsDb.connection();
        const QString code =
            group.isEmpty() ? QString() : db.exec(groupCodeStatement(group)).value(0, 0);
        const QString x = topColumn(criterion);
        const QString per = QStringList{"", " * 100.0 / Energ_Kcal", " * GmWt_1 / 100.0"}.at(basis);
        const QString within = QStringList{"", "Energ_Kcal", "GmWt_1"}.at(basis);
        const QString plain =
            QString("select NDB_No from (select NDB_No, %1%2 as v from FOODS_WR where typeof(%1) "
                    "in ('integer', 'real') and (%3 > 0 or '%3' = '') %4) order by v %5, NDB_No "
                    "limit 15")
                .arg(x, per, within.isEmpty() ? "1" : within,
                     code.isNull() ? "" : "and FdGrp_Cd = '" + code + "'", topDirection(criterion));
        const ResultRows live = db.exec(topLiveStatement(criterion, code, TopBasis(basis)));
        QCOMPARE(column0(live), column0(db.exec(plain)));
        if (group.isEmpty() && basis > 0) // the cache gives the same rows, values included
            QCOMPARE(
                column0(db.exec(topStatement(foodsDb, criterion, code, TopBasis(basis))), true),
                column0(live, true));
        for (const bool counted : {false, true}) {
            const ResultRows coverage = db.exec(topCoverageStatement(criterion, code, counted));
            QTEST(coverage.value(0, 0) + " of " + coverage.value(0, 1), "coverage");
        }
    }

    void history_data() {
        QTest::addColumn<QStringList>("history");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("a new text goes first")
            << QStringList{"egg"} << "milk" << QStringList{"milk", "egg"};
        QTest::newRow("the same text in other letters replaces the old entry, spelled as typed")
            << QStringList{"a", "b", "c", "apple", "d"} << "Apple"
            << QStringList{"Apple", "a", "b", "c", "d"};
        const QStringList seventeen = QString("a b c d e f g h i j k l m n o p q").split(' ');
        QTest::newRow("seventeen entries stay seventeen, the oldest dropped")
            << seventeen << "new" << (QStringList{"new"} + seventeen.mid(0, 16));
        QTest::newRow("sixteen entries grow to seventeen")
            << seventeen.mid(0, 16) << "new" << (QStringList{"new"} + seventeen.mid(0, 16));
        QTest::newRow("an empty text is recorded")
            << QStringList{"egg"} << "" << QStringList{"", "egg"};
    }
    void history() {
        QFETCH(QStringList, history);
        QFETCH(QString, text);
        QTEST(recordSearch(history, text), "expected");
    }

    void expansion_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("a token becomes its word") << "Cheese, @CHD@ (x)"
                                                  << "Cheese, cheddar (x)";
        QTest::newRow("an unknown token disappears") << "a @NO@b"
                                                     << "a b";
        QTest::newRow("an unclosed token runs to the end") << "Oil, @olive"
                                                           << "Oil, ";
    }
    void expansion() {
        const WordIndex words{{"@CHD@", "cheddar"}, {"@RAW@", "raw"}, {"@@", "empty"}};
        QFETCH(QString, stored);
        QTEST(expandDescription(stored, words), "shown");
    }

    void rankingCache_data() {
        QTest::addColumn<QStringList>("damage");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<QStringList>("tables"); // cache tables after the build
        const QStringList built =
            QString("topbasis topcoverage topdata_Cholestrl_4 topdata_Energ_Kcal_2 "
                    "topdata_Energ_Kcal_3 topdata_FA_Sat_0 topdata_FA_Sat_1 topdata_Protein_19 "
                    "topdata_Vit_C_5")
                .split(' ');
        QTest::newRow("a table per criterion some food has a figure for, one of the other bases")
            << QStringList() << false << built;
        QTest::newRow("the other bases left from an earlier build are ranked again")
            << QStringList{"create table topbasis (Criterion, Basis, NDB_No)",
                           "insert into topbasis values (5, '100kcal', 1001)"}
            << false << built;
        QTest::newRow("an empty figure is left out as a missing one is")
            << QStringList{"update FOODS_WR set FA_Sat='' where NDB_No=11215"} << false << built;
        QTest::newRow("a cache without its first table is built again whole")
            << QStringList{"create table topdata_FA_Sat_1 ( id int )"} << false << built;
        QTest::newRow("a failed build leaves no table behind")
            << QStringList{"create view topdata_Cholestrl_4 as select 1 as id"} << false
            << QStringList{"topcoverage", "topdata_Cholestrl_4"};
        QTest::newRow("a read-only file gets no cache") << QStringList() << true << QStringList();
    }
    void rankingCache() {
        QFETCH(QStringList, damage);
        QFETCH(bool, readOnly);
        QFETCH(QStringList, tables);
        QVERIFY(createFixtureDatabase(path(), damage));
        FoodsDatabase foodsDb;
        QVERIFY(foodsDb.open(path()));
        SQLiteDB &db = foodsDb.connection();
        if (readOnly)
            db.exec(QStringLiteral("PRAGMA query_only=1"));
        const QStringList firstRun = debugMessages([&foodsDb] { prepareTopCache(foodsDb); });
        // Present when built: nothing more is written.
        const QStringList secondRun = debugMessages([&foodsDb] { prepareTopCache(foodsDb); });
        QCOMPARE(column0(db.exec(QStringLiteral("select name from sqlite_master where name like "
                                                "'top%' order by name"))),
                 tables);
        for (int i = 0; i < topCriteriaCount * 2; ++i) { // without the cache: ranked now
            const QString sql = topStatement(foodsDb, i / 2, {}, TopBasis(1 + i % 2));
            QCOMPARE(sql.contains(topBasisTable()), tables.contains(topBasisTable()));
            QCOMPARE(column0(db.exec(sql), true),
                     column0(db.exec(topLiveStatement(i / 2, {}, TopBasis(1 + i % 2))), true));
        }
        if (tables.size() < 9)
            return;
        QCOMPARE(secondRun, QStringList());
        // The "Least" criterion ranks ascending and leaves out the food without a figure.
        QCOMPARE(column0(db.exec(QStringLiteral("select id from topdata_FA_Sat_1"))),
                 (QStringList{"11124", "1123", "4053", "1009", "1001"}));
        QCOMPARE(firstRun.first(),
                 QStringLiteral("executing query:insert into topdata_FA_Sat_0 values ('1001')"));
        const ResultRows shown = db.exec(topListStatement(0));
        QCOMPARE(shown.rowCount(), 5);
        QCOMPARE(shown.value(0, 2), QStringLiteral("51.368"));
    }

    // Find by Nutrients on a fixture and on the real data, each read again with the value index
    // where the file has NUTRIENT_DATA. The query: conditions "nutrient>=amount" or "<=", then
    // "by:" the order nutrient (negative: lowest first), "per:" kcal or serving, "in:" a group,
    // "words:"; foods: the first ones listed; first: the first row's values.
    void finder_data() {
        QTest::addColumn<bool>("real");
        QTest::addColumn<QStringList>("extra");
        QTest::addColumn<QString>("query");
        QTest::addColumn<bool>("indexed"); // read from a value index where the file has one
        QTest::addColumn<QString>("foods");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("count");
        const QStringList none;
        const QStringList record = fullRecordStatements();
        // Many foods (which fail those conditions): those listed are read from a value index,
        // or, without one, in a pass of their own before those left out.
        const QStringList many{"with recursive n(i) as (select 1 union all select i + 1 from n "
                               "where i < 20000) insert into FOODS_WR (NDB_No, desc, FdGrp_Cd, "
                               "Protein, Tot_Lipid) select 100000 + i, 'Filler', '0400', 0, 0 "
                               "from n"};
        QTest::newRow("at least and at most on one nutrient make a range and one column")
            << false << none << "203>=1 203<=13 by:203" << false << "1123 11215"
            << "12.560"
            << "2 foods";
        QTest::newRow("per 100 kcal: a food of energy 0 is left out, not counted")
            << false << QStringList{"update FOODS_WR set Energ_Kcal=0, Protein=9 where NDB_No=4053"}
            << "203>=5 by:203 per:kcal" << false << "1123 1009"
            << "8.783"
            << "2 foods";
        QTest::newRow("per serving: the first serving's weight; foods without one are left out")
            << false << none << "203>=5 by:203 per:serving" << false << "1009 1123"
            << "32.868"
            << "2 foods";
        QTest::newRow("a group") << false << none << "203>=0.9 by:203 in:0100" << false
                                 << "1009 1123"
                                 << "24.900"
                                 << "2 foods";
        QTest::newRow("words narrow the group's foods")
            << false << none << "203>=0.9 by:203 in:0100 words:raw" << false << "1123"
            << "12.560"
            << "1 food";
        QTest::newRow(
            "an unknown amount fails no condition and is counted, under the report's name")
            << false << none << "606<=1 by:-606" << false << "11124"
            << "0.037"
            << "1 food (1 more has no figure for Saturated Fat)";
        QTest::newRow("a text where a figure belongs is no figure, among many foods")
            << false << many + QStringList{"update FOODS_WR set Protein='much' where NDB_No=1001"}
            << "203>=1 by:203" << false << "1009 1123 11215"
            << "24.900"
            << "3 foods (1 more has no figure for Protein)";
        QTest::newRow("another order nutrient: its column, foods without a figure last by name")
            << false << record << "203>=5 by:505" << false << "11215 1009 1123"
            << "6.360/0.273"
            << "3 foods";
        QTest::newRow("a figure of NUTRIENT_DATA, named as NUTRIENTS names it")
            << false << record + many << "505>=0.1 203>=1 by:505" << true << "11215"
            << "0.273/6.360"
            << "1 food (2 more have no figure for Lysine)";
        QTest::newRow("FOODS_WR's amount counts, not NUTRIENT_DATA's; names in condition order")
            << false << record << "301>=1 505>=0.1 by:505" << true << ""
            << ""
            << "0 foods (6 more have no figure for Calcium, Ca; Lysine)";
        QTest::newRow("vegetables low in potassium and phosphorus with some protein")
            << true << none << "306<=200 305<=50 203>=2 by:203 in:1100" << false
            << "11666 11713 11030 11975 11029 11295 11743 11093 11817 11323 11709 11019 11779 "
               "11198 11818 11327 11272 11574 11172 11576 11161 11827 11351 11800 11273 11177 "
               "11816 11318 11015 11768 11162 11718 11044 11137"
            << "127.000/11.000/5.920"
            << "34 foods";
        QTest::newRow("high-fiber cereals low in sugars, equal amounts by name")
            << true << none << "291>=10 269<=5 by:291 in:0800" << false
            << "8253 8244 8435 8231 8290 43393 8384 8142 8148 8147 8200 8365 8567 42237 8350 8074 "
               "8232 8013 8120 8122"
            << "50.000/0.370"
            << "20 foods (5 more have no figure for Fiber, total dietary; Sugars, total)";
        QTest::newRow("protein-rich and low in sodium per 100 kcal, lowest sodium first")
            << true << none << "203>=20 307<=30 by:-307 per:kcal" << false
            << "48052 16176 16422 16423 11202 35176 17348"
            << "20.314/7.838"
            << "7 foods (7 more have no figure for Sodium, Na)";
        QTest::newRow("vitamin D over all groups, in order from the index where there is one")
            << true << many << "324>=100 204>=1 by:324" << true
            << "4589 15038 83110 15008 14315 14309"
            << "10000.000/100.000"
            << "256 foods (2759 more have no figure for Vitamin D)";
        QTest::newRow("ordered by another condition's nutrient, read from the index all the same")
            << true << many << "324>=100 204>=1 by:204" << true
            << "4589 4594 4002 35014 4542 4574 4575 4609"
            << "10000.000/100.000"
            << "256 foods (2759 more have no figure for Vitamin D)";
    }
    void finder() {
        QFETCH(bool, real);
        QFETCH(QStringList, extra);
        QFETCH(QString, query);
        QFETCH(bool, indexed);
        QString file = path();
        if (real) {
            REAL_FOODS_DATABASE(foods);
            file = dir.filePath("real.db");
            QFile::remove(file);
            QVERIFY(QFile::copy(foods, file));
            QFile(file).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
            QVERIFY(runStatements(file, extra));
        } else {
            QVERIFY(createFixtureDatabase(file, extra));
        }
        FinderQuery finder;
        QString words;
        for (const QString &part : query.split(' ')) {
            const QString value = part.section(':', 1);
            const QStringList bound = part.split(QRegularExpression("[<>]="));
            if (part.startsWith("by:"))
                finder.orderNutrient = qAbs(value.toInt());
            if (part.startsWith("by:-"))
                finder.order = Qt::AscendingOrder;
            if (part.startsWith("per:"))
                finder.basis = value == "kcal" ? TopBasis::Per100kcal : TopBasis::PerServing;
            if (part.startsWith("in:"))
                finder.groupCode = value;
            if (part.startsWith("words:"))
                words = value;
            if (bound.size() == 2)
                finder.conditions << FinderCondition{bound[0].toInt(), part.contains('<'),
                                                     bound[1].toDouble()};
        }
        QStringList unindexed;
        for (const bool index : {false, true}) {
            FoodsDatabase session;
            QVERIFY(session.open(file));
            if (index && !session.hasNutrientRecord())
                break;
            SQLiteDB &db = session.connection();
            QVERIFY(db.run(index ? "CREATE INDEX IF NOT EXISTS NUTRIENT_DATA_value ON "
                                   "NUTRIENT_DATA (Nutr_No, Nutr_Val)"
                                 : "DROP INDEX IF EXISTS NUTRIENT_DATA_value"));
            const FinderSchema schema{session.hasNutrientRecord(), index,
                                      column0(db.exec("select name from pragma_table_info("
                                                      "'FOODS_WR')"))};
            if (!words.isEmpty())
                finder.wordFoods = foodSearchStatement(session, words, allCategoriesName(), {}, {});
            QCOMPARE(!finderIndexStatement(finder, schema).isNull(), indexed && index);
            FinderStream stream(db, WordIndex(), finder, schema);
            QVERIFY(stream.start());
            stream.finish();
            QStringList found;
            QStringList first;
            for (int i = 0; i < stream.count(); ++i)
                found << QString::number(stream.foodId(i));
            for (int c = 0; c < stream.nutrients().size() && stream.count() > 0; ++c)
                first << QString::number(stream.value(0, c), 'f', 3);
            QFETCH(QString, foods);
            QCOMPARE(found.mid(0, foods.count(' ') + 1).join(' '), foods);
            if (index) // read otherwise, the same list
                QCOMPARE(found, unindexed);
            unindexed = found;
            QTEST(first.join('/'), "first");
            QTEST(finderCountText(stream.count(), stream.more(),
                                  finderNames(stream.missing(), finderChoices(session))),
                  "count");
        }
    }
};

QTEST_GUILESS_MAIN(TestFinding)
#include "tst_finding.moc"
