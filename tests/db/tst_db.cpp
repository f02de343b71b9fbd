// Tests of db/: the SQLite wrapper, its results, transactions and quoting, on real database files.
#include "db/foodsdatabase.h"
#include "db/sqlitedb.h"
#include "db/transaction.h"
#include "tests/common/fixturedb.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

const QString refused = "Refused to run: the text holds more than one SQL statement.";
// Rows (n, s) = (1, 'row 1') to (2500, 'row 2500'): enough that handed-out rows would move.
const QString manyRows = u"WITH RECURSIVE k(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM k "
                         "WHERE n < 2500) SELECT n, 'row ' || n AS s FROM k"_s;
enum Receiver { Nothing, Abort, Exec, Close };

QString count(SQLiteDB &db, const QString &table = "t") {
    return db.exec(u"SELECT count(*) FROM "_s + table, false).value(0, 0);
}

} // namespace

class TestDb : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    // Made anew for each test: t(n, s) holding 1 'one', 2 'two', 3 NULL, 4 '', 5 'five'.
    QString path;

private slots:
    void init() {
        path = dir.filePath("t.db");
        QFile::remove(path);
        SQLiteDB db(path, true);
        db.exec("CREATE TABLE t (n INTEGER PRIMARY KEY, s TEXT)");
        db.exec("INSERT INTO t VALUES (1, 'one'), (2, 'two'), (3, NULL), (4, ''), (5, 'five')");
        QVERIFY(db.isOpen() && !db.hasError());
    }

    void opening_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("create");
        QTest::addColumn<QString>("error"); // null: it opens
        QTest::newRow("a database") << "t.db" << false << QString();
        QTest::newRow("a missing file with create is made") << "new.db" << true << QString();
        QTest::newRow("a missing file without create is not made")
            << "missing.db" << false << "File does not exist";
        QTest::newRow("a file of the older library is no database")
            << "old.db" << true << "file is not a database";
        QTest::newRow("a directory") << "." << false << "unable to open database file";
    }
    void opening() {
        QFETCH(QString, file);
        QFETCH(bool, create);
        QFETCH(QString, error);
        // How a file of the library's version 2 starts.
        writeFile(dir.filePath("old.db"),
                  "** This file contains an SQLite 2.1 database **" + QByteArray(977, '\0'));
        file = dir.filePath(file);
        const bool existed = QFile::exists(file);
        SQLiteDB db(path, false);
        QCOMPARE(db.open(file, create), error.isNull()); // it closes the open connection first
        QCOMPARE(db.open(file, create), error.isNull());
        QCOMPARE(db.isOpen(), error.isNull());
        QCOMPARE(db.lastError(), error + error); // failures append their texts
        QVERIFY(db.lastError().isNull());        // taken once; then null, not merely empty
        QCOMPARE(QFile::exists(file), existed || create);
        db.open(file, create); // an unread error goes with the next exec
        db.exec("SELECT 1");
        QCOMPARE(db.lastError(), error.isNull() ? QString() : "Invalid database.");
    }

    void statements_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("error");     // null: none
        QTest::addColumn<int>("rows");          // in per-row mode
        QTest::addColumn<QStringList>("first"); // the first row
        const auto row = [](const char *name, const QString &sql, const QString &error, int rows,
                            const QStringList &first = {}) {
            QTest::newRow(name) << sql << error << rows << first;
        };
        const QStringList five{"5"};
        row("every column", "SELECT * FROM t ORDER BY n", {}, 5, {"1", "one"});
        row("NULL is a null text; '' and an empty blob are empty ones",
            "SELECT s, NULL, '', x'' FROM t WHERE n = 3", {}, 1, {{}, {}, "", ""});
        row("text crosses as UTF-8", "SELECT 'Crème µg', hex('é')", {}, 1, {"Crème µg", "C3A9"});
        row("no statement", " -- nothing\n;;", {}, 0);
        row("comments, blanks and semicolons around a statement",
            "/* all */ SELECT count(*) FROM t ;; ; -- all\n", {}, 1, five);
        row("a semicolon inside a text",
            "SELECT count(*) FROM t WHERE s <> 'a; DROP TABLE t' OR s IS NULL", {}, 1, five);
        row("a syntax error", "SELEC n FROM t", "near \"SELEC\": syntax error", 0);
        row("a failure after two rows",
            u"SELECT abs(n) FROM (SELECT 1 AS n UNION ALL SELECT 2 UNION ALL "
            "SELECT -9223372036854775807 - 1)"_s,
            "integer overflow", 2, {"1"});
        row("a second statement in a value spliced between quotes",
            "SELECT n FROM t WHERE s = 'x';/**/DROP/**/TABLE/**/t; --'", refused, 0);
        row("an incomplete second statement", "SELECT n FROM t; DROP", refused, 0);
        row("a statement behind a NUL character", u"SELECT n FROM t;\0DROP TABLE t"_s, refused, 0);
        row("a NUL character first", u"\0DROP TABLE t"_s, refused, 0);
    }
    void statements() {
        QFETCH(QString, sql);
        QFETCH(QString, error);
        QFETCH(int, rows);
        QFETCH(QStringList, first);
        SQLiteDB db(path, false);
        const ResultRows perRow = db.exec(sql);
        QCOMPARE(db.lastError(), error);
        const ResultRows table = db.exec(sql, false);
        QCOMPARE(db.lastError(), error);
        QCOMPARE(perRow.rowCount(), rows);
        QCOMPARE(table.rowCount(), error.isNull() ? rows : 0); // else both modes give the same
        for (const ResultRows &r : {perRow, table, ResultRows()}) {
            QCOMPARE(r.columnCount(), r.isEmpty() ? 0 : first.size());
            // Reads outside the rows or columns give null strings.
            QVERIFY(r.value(r.rowCount(), 0).isNull() && r.value(0, r.columnCount()).isNull());
            QVERIFY(r.value(-1, 0).isNull() && r.value(0, -1).isNull());
            QVERIFY(r.columnName(r.columnCount()).isNull() && r.columnName(-1).isNull());
            for (int c = 0; c < r.columnCount(); ++c) {
                QCOMPARE(r.value(0, c), first[c]);
                QCOMPARE(r.value(0, c).isNull(), first[c].isNull());
                QCOMPARE(r.columnName(c), perRow.columnName(c));
                for (int i = 0; i < r.rowCount(); ++i)
                    QCOMPARE(r.value(i, c), perRow.value(i, c));
            }
        }
        QCOMPARE(count(db), "5"); // nothing of a refused text ran
    }

    void receivers_data() {
        QTest::addColumn<int>("receiver"); // what the receiver of row 2 does
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("error");
        QTest::newRow("rows handed out in order stay in place")
            << int(Nothing) << 2500 << QString();
        QTest::newRow("abortQuery keeps three rows") << int(Abort) << 3 << "query aborted";
        QTest::newRow("exec fails, the statement goes on, the error stays pending")
            << int(Exec) << 2500 << "Query in progress.";
        QTest::newRow("closing the connection ends the statement")
            << int(Close) << 3 << "query aborted";
    }
    void receivers() {
        QFETCH(int, receiver);
        QFETCH(int, rows);
        QFETCH(QString, error);
        SQLiteDB db(path, false);
        QList<QList<QString> *> handedOut;
        int inner = -1;
        connect(&db, &SQLiteDB::nextRow, this,
                [&](QList<QString> *row, QList<QString> *columns, int index) {
                    QCOMPARE(index, handedOut.size());
                    QCOMPARE(*columns, (QList<QString>{"n", "s"}));
                    handedOut << row;
                    if (index == 2 && receiver == Abort)
                        db.abortQuery();
                    if (index == 2 && receiver == Close)
                        db.close();
                    if (index == 2 && receiver == Exec)
                        inner = db.exec("SELECT 1").rowCount();
                });
        ResultRows r;
        r = db.exec(manyRows);
        QCOMPARE(db.lastError(), error);
        QCOMPARE(r.rowCount(), rows);
        QCOMPARE(handedOut.size(), rows);
        for (int i = 0; i < rows; ++i)
            QCOMPARE(*handedOut[i],
                     (QList<QString>{QString::number(i + 1), u"row %1"_s.arg(i + 1)}));
        QCOMPARE(inner, receiver == Exec ? 0 : -1);
        db.abortQuery(); // outside a statement it changes nothing
        QVERIFY(db.isOpen() || db.open(path, false));
        QCOMPARE(db.exec(manyRows, false).rowCount(), 2500); // idle again
        QCOMPARE(handedOut.size(), rows);                    // table mode hands out no rows
    }

    void transaction_data() {
        QTest::addColumn<bool>("outer");  // a transaction is open before the guard begins
        QTest::addColumn<QString>("id");  // written in the guard; 9 breaks a deferred foreign key
        QTest::addColumn<bool>("commit"); // commit() is called
        QTest::addColumn<int>("kept");    // rows written that stay
        QTest::addColumn<QString>("error");
        QTest::newRow("commit keeps what was written") << false << "1" << true << 1 << QString();
        QTest::newRow("a guard gone without commit rolls back")
            << false << "1" << false << 0 << QString();
        QTest::newRow("a failed commit rolls back and its message stays pending")
            << false << "9" << true << 0 << "FOREIGN KEY constraint failed";
        QTest::newRow("a failed begin leaves the open transaction alone")
            << true << "1" << true << 1 << "cannot start a transaction within a transaction";
    }
    void transaction() {
        QFETCH(bool, outer);
        QFETCH(QString, id);
        QFETCH(bool, commit);
        QFETCH(int, kept);
        QFETCH(QString, error);
        SQLiteDB db(path, false);
        db.exec("PRAGMA foreign_keys = ON");
        db.exec("CREATE TABLE c (n REFERENCES t DEFERRABLE INITIALLY DEFERRED)");
        db.exec(outer ? "BEGIN" : QString());
        {
            Transaction guard(db);
            QCOMPARE(guard.isActive(), !outer);
            QString pending = db.lastError(); // a failed begin leaves its error
            db.exec(u"INSERT INTO c VALUES (%1)"_s.arg(id));
            QVERIFY(!db.hasError());
            if (commit)
                QCOMPARE(guard.commit(), error.isNull());
            QCOMPARE(pending + db.lastError(), error);
        }
        db.exec(outer ? "COMMIT" : QString());
        QCOMPARE(count(db, "c"), QString::number(kept));
        QVERIFY(Transaction(db).isActive()); // no transaction was left open
    }

    // What the open food file holds, learned once, and the stand-ins for what it lacks.
    void foodsDatabase_data() {
        QTest::addColumn<QStringList>("changes"); // to the fixture; "-" first: no fixture at all
        QTest::addColumn<QString>("opened");      // the pending error when it does not open
        QTest::addColumn<QString>("holds");       // tables asked for that it has, and the name
        QTest::addColumn<QString>("missing");     // in the start notice
        QTest::newRow("the fixture: its tables, words and groups; release 14 without a name")
            << QStringList() << ""
            << "FOODS_WR topbasis|USDA SR 14"
            << "";
        QTest::newRow("the release of the file's user version")
            << QStringList{"PRAGMA user_version = 28"} << ""
            << "FOODS_WR topbasis|USDA SR 28"
            << "";
        QTest::newRow("the origin DATA_INFO names, with barcodes and the record")
            << (fullRecordStatements()
                << "CREATE TABLE DATA_INFO (Key TEXT, Value TEXT)"
                << "INSERT INTO DATA_INFO VALUES ('Source', 'USDA FoodData Central'), "
                   "('DataTypes', 'Foundation')"
                << "CREATE TABLE BARCODES (Code TEXT, NDB_No INTEGER)"
                << "CREATE INDEX NUTRIENT_DATA_value ON NUTRIENT_DATA (Nutr_No, Nutr_Val)")
            << ""
            << "BARCODES FOODS_WR NUTRIENTS NUTRIENT_DATA SERVINGS topbasis by-value|USDA "
               "FoodData Central (Foundation)"
            << "";
        QTest::newRow("missing columns read as unknown, and are named once")
            << QStringList{"DROP INDEX FOODS_WR_rank", "ALTER TABLE FOODS_WR DROP COLUMN Vit_C",
                           "ALTER TABLE FOODS_WR DROP COLUMN GmWt_2"}
            << ""
            << "FOODS_WR topbasis|USDA SR 14"
            << "the columns Vit_C, GmWt_2 of FOODS_WR";
        QTest::newRow("no word table: an empty one stands in")
            << QStringList{"DROP TABLE WORDS_WR"} << ""
            << "FOODS_WR topbasis|USDA SR 14"
            << "the word table WORDS_WR";
        QTest::newRow("no groups: not opened, the library's message pending")
            << QStringList{"DROP TABLE FOODS_GROUP"} << "no such table: FOODS_GROUP"
            << ""
            << "";
        QTest::newRow("a file that is not there") << QStringList{"-"} << "File does not exist"
                                                  << ""
                                                  << "";
    }
    void foodsDatabase() {
        QFETCH(QStringList, changes);
        QFETCH(QString, opened);
        const QString foodsPath = dir.filePath("FOODS.db");
        QFile::remove(foodsPath);
        if (changes.value(0) != "-")
            QVERIFY(prepareInstallDir(dir.filePath("install"), true, changes) != QString() &&
                    QFile::rename(dir.filePath("install/pics/kalo/FOODS.db"), foodsPath));
        FoodsDatabase foods;
        QCOMPARE(foods.open(foodsPath), opened.isEmpty());
        QCOMPARE(foods.connection().lastError(), opened.isEmpty() ? QString() : opened);
        if (!opened.isEmpty())
            return;
        QStringList held;
        for (const char *table : {"BARCODES", "FOODS_FTS", "FOODS_WR", "NUTRIENTS", "NUTRIENT_DATA",
                                  "SERVINGS", "topbasis"})
            if (foods.hasTable(table))
                held << table;
        if (foods.hasValueIndex())
            held << "by-value";
        QTEST(held.join(' ') + '|' + foods.dataInfo().displayName(), "holds");
        QFETCH(QString, missing);
        QVERIFY2(missing.isEmpty() ? foods.missingParts().isEmpty()
                                   : foods.missingParts().contains(missing),
                 qPrintable(foods.missingParts()));
        // Every statement still runs: the cheddar with its words, unknown where a column is gone.
        QVERIFY(foods.loadWords() && foods.loadGroups());
        QCOMPARE(foods.groups().value(0).name, "Dairy and Egg Products");
        QCOMPARE(foods.description("1009"),
                 foods.words().isEmpty() ? "Cheese, " : "Cheese, cheddar"); // no word: dropped
        QCOMPARE(foods.description("1009 or 1=1"), QString());
        QVERIFY(foods.connection().run("select Vit_C, GmWt_Desc2 from FOODS_WR"));
        QVERIFY(foods.isWritable());
        QVERIFY(foods.connection().run("PRAGMA query_only = 1"));
        FoodsDatabase again; // asked once: a second object asks again
        QVERIFY(again.open(foodsPath) && again.connection().run("PRAGMA query_only = 1"));
        QVERIFY(!again.isWritable());
        QCOMPARE(again.writeFailure(), "attempt to write a readonly database");
    }
};

QTEST_GUILESS_MAIN(TestDb)
#include "tst_db.moc"
