// Building the Top 15 ranking tables in the food database.
#include "db/sqlitedb.h"
#include "finding/topcache.h"
#include "finding/topcriteria.h"
#include "tests/common/fixturedb.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QStringList debugLines;

void collectDebug(QtMsgType type, const QMessageLogContext &, const QString &message) {
    if (type == QtDebugMsg)
        debugLines.append(message);
}

// Twenty foods 90001.. with a figure for every nutrient: food k has k + 1 of each (grams, kcal,
// mg...), so each ranking of them is plain to predict.
QStringList rankedFoods(int count = 20) {
    QStringList sql;
    for (int k = 0; k < count; ++k) {
        QString columns = QStringLiteral("NDB_No, \"desc\", FdGrp_Cd");
        QString values = QStringLiteral("%1, 'Food %2', '0100'").arg(90001 + k).arg(k);
        for (int i = 0; i < topCriteriaCount; ++i) {
            const QString column = QLatin1String(topColumns[i]);
            if (columns.contains(QStringLiteral(", ") + column))
                continue;
            columns += QStringLiteral(", ") + column;
            values += QStringLiteral(", %1").arg(k + 1);
        }
        sql << QStringLiteral("INSERT INTO FOODS_WR (%1) VALUES (%2)").arg(columns, values);
    }
    return sql;
}

QStringList ids(SQLiteDB &db, const QString &table) {
    QStringList list;
    const ResultRows rows = db.exec(QStringLiteral("select id from %1").arg(table));
    for (int i = 0; i < rows.rowCount(); ++i)
        list << rows.value(i, 0);
    return list;
}

QStringList topTables(SQLiteDB &db) {
    QStringList names;
    const ResultRows rows =
        db.exec(QStringLiteral("select name from sqlite_master where type='table' and name like "
                               "'topdata%' order by name"));
    for (int i = 0; i < rows.rowCount(); ++i)
        names << rows.value(i, 0);
    return names;
}

QByteArray fileHash(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

QStringList allTableNames() {
    QStringList names;
    for (int i = 0; i < topCriteriaCount; ++i)
        names << topTableName(i);
    names.sort();
    return names;
}

} // namespace

class TestTopCache : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { qInstallMessageHandler(collectDebug); }
    void init() { debugLines.clear(); }

    void firstStartBuildsTwentyTablesOfFifteen();
    void rankingsFollowTheCriteriaAndLeaveOutUnknownAmounts();
    void fewerFoodsThanFifteenGiveOneRowEach();
    void secondStartChangesNothing();
    void partialCacheWithoutTheFirstTableIsRebuiltWhole();
    void failedBuildLeavesNoTable();
    void readOnlyFileIsLeftUntouched();
    void closedDatabaseIsHarmless();

private:
    QTemporaryDir dir;
};

void TestTopCache::firstStartBuildsTwentyTablesOfFifteen() {
    const QString path = dir.filePath(QStringLiteral("first.db"));
    QVERIFY(createFixtureDatabase(path, rankedFoods()));
    SQLiteDB db(path, false);
    prepareTopCache(db);
    QVERIFY(!db.hasError());

    QCOMPARE(topTables(db), allTableNames());
    for (int i = 0; i < topCriteriaCount; ++i)
        QCOMPARE(ids(db, topTableName(i)).size(), 15);
    // One debug line per inserted row, the statement right after the colon.
    QCOMPARE(debugLines.size(), 20 * 15);
    QVERIFY(debugLines.first().startsWith(
        QStringLiteral("executing query:insert into topdata_FA_Sat_0 values ('")));
    QCOMPARE(debugLines.last(),
             QStringLiteral("executing query:insert into topdata_Protein_19 values ('90008')"));
    // The column is declared as the program always did, and holds numbers that join NDB_No.
    const ResultRows sql =
        db.exec(QStringLiteral("select sql from sqlite_master where name='topdata_Vit_C_5'"));
    QCOMPARE(sql.value(0, 0),
             QStringLiteral("CREATE TABLE topdata_Vit_C_5 ( id int PRIMARY_KEY )"));
    QCOMPARE(db.exec(QStringLiteral("select typeof(id) from topdata_Vit_C_5")).value(0, 0),
             QStringLiteral("integer"));
}

void TestTopCache::rankingsFollowTheCriteriaAndLeaveOutUnknownAmounts() {
    // Two fixture foods have no saturated-fat figure: garlic (NULL) and one with an empty text.
    const QString path = dir.filePath(QStringLiteral("order.db"));
    QStringList extra = rankedFoods();
    extra << QStringLiteral("INSERT INTO FOODS_WR (NDB_No, \"desc\", FdGrp_Cd, FA_Sat, Energ_Kcal) "
                            "VALUES (99999, 'Mystery', '0100', '', '')");
    QVERIFY(createFixtureDatabase(path, extra));
    SQLiteDB db(path, false);
    prepareTopCache(db);

    // Ascending: the fifteen smallest known figures, carrots (0.037) first; no unknown amount.
    const QStringList leastFat = ids(db, QStringLiteral("topdata_FA_Sat_1"));
    QCOMPARE(leastFat.first(), QStringLiteral("11124"));
    QVERIFY(!leastFat.contains(QStringLiteral("11215")));
    QVERIFY(!leastFat.contains(QStringLiteral("99999")));
    const ResultRows unknown = db.exec(
        QStringLiteral("select count(*) from topdata_FA_Sat_1, FOODS_WR where NDB_No=id and "
                       "(FA_Sat is null or FA_Sat = '')"));
    QCOMPARE(unknown.value(0, 0), QStringLiteral("0"));
    // Sorted descending, an empty text would lead: SQLite orders text above every number.
    QVERIFY(!ids(db, QStringLiteral("topdata_Energ_Kcal_2")).contains(QStringLiteral("99999")));
    QVERIFY(!ids(db, QStringLiteral("topdata_Energ_Kcal_3")).contains(QStringLiteral("99999")));

    // Descending, by number (text would put "9" above "884"): olive oil, then butter.
    const QStringList mostCalories = ids(db, QStringLiteral("topdata_Energ_Kcal_2"));
    QCOMPARE(mostCalories.mid(0, 3),
             QStringList({QStringLiteral("4053"), QStringLiteral("1001"), QStringLiteral("1009")}));
    QCOMPARE(ids(db, QStringLiteral("topdata_Protein_19")).first(), QStringLiteral("1009"));
    // Garlic holds the most vitamin C; its unknown saturated fat keeps it out of that ranking only.
    QCOMPARE(ids(db, QStringLiteral("topdata_Vit_C_5")).first(), QStringLiteral("11215"));
}

void TestTopCache::fewerFoodsThanFifteenGiveOneRowEach() {
    const QString path = dir.filePath(QStringLiteral("few.db"));
    QVERIFY(createFixtureDatabase(path));
    SQLiteDB db(path, false);
    prepareTopCache(db);
    // Six foods; five have a saturated-fat figure, all six an energy figure.
    QCOMPARE(ids(db, QStringLiteral("topdata_FA_Sat_0")).size(), 5);
    QCOMPARE(ids(db, QStringLiteral("topdata_Energ_Kcal_3")).size(), 6);
    // No food has a zinc figure: that criterion gets no table, the others are built.
    QVERIFY(!topTables(db).contains(QStringLiteral("topdata_Zinc_16")));
    QVERIFY(topTables(db).contains(QStringLiteral("topdata_Protein_19")));
}

void TestTopCache::secondStartChangesNothing() {
    const QString path = dir.filePath(QStringLiteral("second.db"));
    QVERIFY(createFixtureDatabase(path, rankedFoods()));
    {
        SQLiteDB db(path, false);
        prepareTopCache(db);
    }
    const QByteArray before = fileHash(path);
    debugLines.clear();
    {
        SQLiteDB db(path, false);
        prepareTopCache(db);
        QVERIFY(!db.hasError());
    }
    QCOMPARE(fileHash(path), before);
    QVERIFY(debugLines.isEmpty());
}

void TestTopCache::partialCacheWithoutTheFirstTableIsRebuiltWhole() {
    // Left over by an old build cut short: a stray ranking table, but not the first.
    const QString path = dir.filePath(QStringLiteral("partial.db"));
    QStringList extra = rankedFoods();
    extra << QStringLiteral("create table topdata_Zinc_16 ( id int PRIMARY_KEY )")
          << QStringLiteral("insert into topdata_Zinc_16 values ('1')");
    QVERIFY(createFixtureDatabase(path, extra));
    SQLiteDB db(path, false);
    prepareTopCache(db);
    QCOMPARE(topTables(db), allTableNames());
    const QStringList zinc = ids(db, QStringLiteral("topdata_Zinc_16"));
    QCOMPARE(zinc.size(), 15);
    QCOMPARE(zinc.first(), QStringLiteral("90020"));
}

void TestTopCache::failedBuildLeavesNoTable() {
    // A view in the way of criterion 5: neither dropped nor replaced, so that table's creation
    // fails after five tables were built. All or nothing: none of them stays.
    const QString path = dir.filePath(QStringLiteral("failed.db"));
    QStringList extra = rankedFoods();
    extra << QStringLiteral("create view topdata_Vit_C_5 as select NDB_No as id from FOODS_WR");
    QVERIFY(createFixtureDatabase(path, extra));
    SQLiteDB db(path, false);
    prepareTopCache(db);
    QVERIFY(topTables(db).isEmpty());
    // Not stuck in a transaction: the next start tries again and, with the view gone, succeeds.
    db.exec(QStringLiteral("drop view topdata_Vit_C_5"));
    QVERIFY(!db.hasError());
    prepareTopCache(db);
    QCOMPARE(topTables(db), allTableNames());
}

void TestTopCache::readOnlyFileIsLeftUntouched() {
    const QString path = dir.filePath(QStringLiteral("readonly.db"));
    QVERIFY(createFixtureDatabase(path, rankedFoods()));
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup |
                                            QFileDevice::ReadOther));
    const QByteArray before = fileHash(path);
    {
        SQLiteDB db;
        // The super-user writes through file permissions; there the library is told instead.
        const bool superUser = QFileInfo(path).isWritable();
        QVERIFY(superUser ? db.open(QStringLiteral("file:%1?mode=ro").arg(path), true)
                          : db.open(path, false));
        prepareTopCache(db);
        QVERIFY2(!db.hasError(), "the start must show no error for a read-only file");
        QVERIFY(topTables(db).isEmpty());
        // The table the Top page reads is missing, which that page reports when chosen.
        db.exec(QStringLiteral("select id from topdata_FA_Sat_0"));
        QVERIFY(db.hasError());
    }
    QCOMPARE(fileHash(path), before);
    QVERIFY(!QFile::exists(path + QStringLiteral("-journal")));
}

void TestTopCache::closedDatabaseIsHarmless() {
    SQLiteDB db;
    prepareTopCache(db);
    dropTopCache(db);
    QVERIFY(debugLines.isEmpty());
}

QTEST_GUILESS_MAIN(TestTopCache)
#include "tst_topcache.moc"
