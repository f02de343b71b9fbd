// Finding foods without a window: search statements run on a fixture database, the search
// history, description expansion and the ranking cache.
#include "db/sqlitedb.h"
#include "finding/foodsearch.h"
#include "finding/statements.h"
#include "finding/topcache.h"
#include "finding/topcriteria.h"
#include "finding/wordindex.h"
#include "tests/common/fixturedb.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

QStringList column0(const ResultRows &rows) {
    QStringList values;
    for (int i = 0; i < rows.rowCount(); ++i)
        values << rows.value(i, 0);
    return values;
}

QStringList debugLines;
void collectDebug(QtMsgType type, const QMessageLogContext &, const QString &message) {
    if (type == QtDebugMsg)
        debugLines << message;
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
        QTest::addColumn<QString>(
            "condition"); // between "from FOODS_WR" and " order by"; "-": none
        QTest::addColumn<QStringList>("foods"); // "error": the statement fails
        QTest::addColumn<int>("errors");
        const QString all = allCategoriesName();
        QTest::newRow("a dictionary word is searched as its token")
            << "Cheddar" << all << QStringList() << " where desc like '%@CHD@%' "
            << QStringList{"1009"} << 0;
        QTest::newRow("words are alternatives, separated by comma, blank, bar, brackets, plus")
            << "raw,(Oil)" << all << QStringList()
            << " where desc like '%raw%'  or desc like '%Oil%' "
            << QStringList{"4053", "11215", "1123", "11124"} << 0;
        QTest::newRow("a group restricts the words")
            << "raw"
            << "Vegetables and Vegetable Products" << QStringList()
            << " where FdGrp_Cd='1100' and (  desc like '%raw%' ) " << QStringList{"11215", "11124"}
            << 0;
        QTest::newRow("separators alone list every food")
            << " ,+" << all << QStringList() << ""
            << QStringList{"4053", "11215", "1123", "1009", "11124", "1001"} << 0;
        QTest::newRow("separators alone within a group fail in the library")
            << ","
            << "Fats and Oils" << QStringList() << " where FdGrp_Cd='0400' and ( ) "
            << QStringList{"error"} << 0;
        QTest::newRow("a repeated word is looked up and searched once")
            << "raw raw|raw" << all << QStringList() << " where desc like '%raw%' "
            << QStringList{"11215", "1123", "11124"} << 0;
        QTest::newRow("an apostrophe is doubled and cannot end the literal")
            << "x' or 1=1; drop table FOODS_WR; --" << all << QStringList()
            << " where desc like '%x''%'  or desc like '%or%'  or desc like '%1=1;%'  or desc like "
               "'%drop%'  or desc like '%table%'  or desc like '%FOODS_WR;%'  or desc like '%--%' "
            << QStringList() << 0;
        QTest::newRow("a NUL character is left out of the literal")
            << QStringLiteral("ra%1w").arg(QChar(0)) << all << QStringList()
            << " where desc like '%raw%' " << QStringList{"11215", "1123", "11124"} << 0;
        QTest::newRow("wildcards keep their meaning")
            << "Oi_" << all << QStringList() << " where desc like '%Oi_%' " << QStringList{"4053"}
            << 0;
        QTest::newRow("a group name that is no group finds nothing")
            << "raw"
            << "Grandma's" << QStringList() << " where FdGrp_Cd='' and (  desc like '%raw%' ) "
            << QStringList() << 0;
        QTest::newRow("a failed group look-up searches all groups")
            << "oil"
            << "Fats and Oils" << QStringList{"drop table FOODS_GROUP"}
            << " where desc like '%oil%' " << QStringList{"4053"} << 1;
        QTest::newRow("words whose look-ups all fail search nothing")
            << "oil raw" << all << QStringList{"drop table WORDS_WR"} << "-" << QStringList() << 2;
        QTest::newRow("an empty text searches nothing")
            << "" << all << QStringList() << "-" << QStringList() << 0;
        QTest::newRow("an empty group name searches nothing")
            << "raw"
            << "" << QStringList() << "-" << QStringList() << 0;
    }
    void search() {
        QFETCH(QString, text);
        QFETCH(QString, group);
        QFETCH(QStringList, damage);
        QFETCH(QString, condition);
        QFETCH(QStringList, foods);
        QFETCH(int, errors);
        QVERIFY(createFixtureDatabase(path(), damage));
        SQLiteDB db(path(), false);
        int errorCount = 0;
        const QString sql =
            foodSearchStatement(db, text, group, [&](const QString &) { ++errorCount; });
        QCOMPARE(errorCount, errors);
        if (condition == QLatin1String("-")) {
            QVERIFY(sql.isNull());
            return;
        }
        QCOMPARE(sql, "select NDB_No,desc from FOODS_WR" + condition + " order by desc desc");
        const ResultRows rows = db.exec(sql);
        QCOMPARE(db.hasError(), foods == QStringList{"error"});
        if (!db.hasError())
            QCOMPARE(column0(rows), foods);
        QCOMPARE(db.exec(QStringLiteral("select count(*) from FOODS_WR")).value(0, 0),
                 QStringLiteral("6"));
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
        QStringList seventeen;
        for (int i = 0; i < 17; ++i)
            seventeen << QString::number(i);
        QTest::newRow("seventeen entries stay seventeen, the oldest dropped")
            << seventeen << "new" << (QStringList{"new"} + seventeen.mid(0, 16));
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
        QTest::newRow("text without tokens is unchanged") << "Cheese, blue"
                                                          << "Cheese, blue";
        QTest::newRow("a token becomes its word") << "Cheese, @CHD@ (x)"
                                                  << "Cheese, cheddar (x)";
        QTest::newRow("two tokens side by side") << "@CHD@@RAW@"
                                                 << "cheddarraw";
        QTest::newRow("an unknown token disappears") << "a @NO@b"
                                                     << "a b";
        QTest::newRow("two delimiters are a token of their own") << "x@@y"
                                                                 << "xemptyy";
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
        QTest::addColumn<QStringList>("tables"); // topdata tables after the build
        QTest::newRow("one table per criterion that some food has a figure for")
            << QStringList() << false
            << QStringList{"topdata_Cholestrl_4", "topdata_Energ_Kcal_2", "topdata_Energ_Kcal_3",
                           "topdata_FA_Sat_0",    "topdata_FA_Sat_1",     "topdata_Protein_19",
                           "topdata_Vit_C_5"};
        QTest::newRow("a failed build leaves no table behind")
            << QStringList{"create view topdata_Cholestrl_4 as select 1 as id"} << false
            << QStringList{"topdata_Cholestrl_4"};
        QTest::newRow("a read-only file gets no cache") << QStringList() << true << QStringList();
    }
    void rankingCache() {
        QFETCH(QStringList, damage);
        QFETCH(bool, readOnly);
        QFETCH(QStringList, tables);
        QVERIFY(createFixtureDatabase(path(), damage));
        SQLiteDB db(path(), false);
        if (readOnly)
            db.exec(QStringLiteral("PRAGMA query_only=1"));
        debugLines.clear();
        const QtMessageHandler previous = qInstallMessageHandler(collectDebug);
        prepareTopCache(db);
        const QStringList firstRun = debugLines;
        prepareTopCache(db); // present when built: nothing more is written
        qInstallMessageHandler(previous);
        QCOMPARE(column0(db.exec(QStringLiteral("select name from sqlite_master where name like "
                                                "'topdata%' order by name"))),
                 tables);
        if (tables.size() < 7)
            return;
        QCOMPARE(debugLines, firstRun);
        // The "Least" criterion ranks ascending and leaves out the food without a figure.
        QCOMPARE(column0(db.exec(QStringLiteral("select id from topdata_FA_Sat_1"))),
                 (QStringList{"11124", "1123", "4053", "1009", "1001"}));
        QCOMPARE(firstRun.first(),
                 QStringLiteral("executing query:insert into topdata_FA_Sat_0 values ('1001')"));
        const ResultRows shown = db.exec(topListStatement(0));
        QCOMPARE(shown.rowCount(), 5);
        QCOMPARE(shown.value(0, 2), QStringLiteral("51.368"));
    }
};

QTEST_GUILESS_MAIN(TestFinding)
#include "tst_finding.moc"
