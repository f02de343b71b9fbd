// Tests of SQLiteDB on real database files: opening, failures, statements, rows and errors.
#include "db/sqlitedb.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Rows of t, in rowid order: (1, 'one'), (2, 'two'), (3, NULL), (4, ''), (5, 'five').
const QStringList tableRows = {QStringLiteral("INSERT INTO t VALUES (1, 'one')"),
                               QStringLiteral("INSERT INTO t VALUES (2, 'two')"),
                               QStringLiteral("INSERT INTO t VALUES (3, NULL)"),
                               QStringLiteral("INSERT INTO t VALUES (4, '')"),
                               QStringLiteral("INSERT INTO t VALUES (5, 'five')")};

QStringList columnNames(const ResultRows &result) {
    QStringList names;
    for (int c = 0; !result.columnName(c).isNull(); ++c)
        names << result.columnName(c);
    return names;
}

QList<QStringList> allRows(const ResultRows &result, int columns) {
    QList<QStringList> rows;
    for (int r = 0; r < result.rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < columns; ++c)
            row << result.value(r, c);
        rows << row;
    }
    return rows;
}

} // namespace

class TestSQLiteDB : public QObject {
    Q_OBJECT

private:
    QString path(const QString &name) const { return dir.filePath(name); }
    // A fresh database "<name>" with table t(n, s) holding tableRows and table u(n, label).
    QString makeDatabase(const QString &name);
    int rowsOfT(const QString &file);

    QTemporaryDir dir;

private slots:
    void initTestCase();

    void openFailures_data();
    void openFailures();
    void openWithCreateMakesTheFile();
    void openReadOnlyFile();
    void failedOpensAppendTheirTexts();
    void openClosesThePreviousConnectionEvenWhenItFails();
    void unreadErrorIsGoneAfterTheNextExec();
    void constructorOpens();

    void execOnClosedWrapper_data();
    void execOnClosedWrapper();
    void statementsWithoutRows_data();
    void statementsWithoutRows();
    void syntaxError_data();
    void syntaxError();
    void failureAfterSomeRows();
    void perRowAndTableModeGiveTheSameRows_data();
    void perRowAndTableModeGiveTheSameRows();
    void nullAndEmptyValues_data();
    void nullAndEmptyValues();
    void textCrossesAsUtf8();

    void nextRowDeliversRowsInOrder();
    void abortOnRow2KeepsThreeRows();
    void reentrantExecFails_data();
    void reentrantExecFails();
    void receiverClosingTheConnection();

    void stackedStatementIsRefused_data();
    void stackedStatementIsRefused();
    void acceptedEndings_data();
    void acceptedEndings();
    void textWithoutStatement_data();
    void textWithoutStatement();

    void version();
};

QString TestSQLiteDB::makeDatabase(const QString &name) {
    const QString file = path(name);
    QFile::remove(file);
    SQLiteDB db;
    if (!db.open(file, true))
        qFatal("cannot create %s: %s", qPrintable(file), qPrintable(db.lastError()));
    QStringList sql = {QStringLiteral("BEGIN"),
                       QStringLiteral("CREATE TABLE t (n integer, s text)"),
                       QStringLiteral("CREATE TABLE u (n integer, label text)"),
                       QStringLiteral("INSERT INTO u VALUES (1, 'first')"),
                       QStringLiteral("INSERT INTO u VALUES (2, 'second')")};
    sql << tableRows << QStringLiteral("COMMIT");
    for (const QString &statement : sql) {
        db.exec(statement);
        if (db.hasError())
            qFatal("%s: %s", qPrintable(statement), qPrintable(db.lastError()));
    }
    return file;
}

int TestSQLiteDB::rowsOfT(const QString &file) {
    SQLiteDB db;
    if (!db.open(file, false))
        return -1;
    const ResultRows r = db.exec(
        QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 't'"));
    if (db.hasError() || r.value(0, 0) != QLatin1String("1"))
        return -1;
    return db.exec(QStringLiteral("SELECT count(*) FROM t")).value(0, 0).toInt();
}

void TestSQLiteDB::initTestCase() {
    QVERIFY(dir.isValid());
    QFile text(path(QStringLiteral("notes.txt")));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("These are notes, not a database.\n");
    text.close();
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("adir")));
    // The start of a database file of the library's previous major version.
    QFile old(path(QStringLiteral("version2.db")));
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("** This file contains an SQLite 2.1 database **");
    old.write(QByteArray(1024 - 47, '\0'));
    old.close();
}

void TestSQLiteDB::openFailures_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("create");
    QTest::addColumn<QString>("message");

    QTest::newRow("a missing file without create")
        << path(QStringLiteral("missing.db")) << false << QStringLiteral("File does not exist");
    QTest::newRow("an empty path without create")
        << QString() << false << QStringLiteral("File does not exist");
    QTest::newRow("a text file") << path(QStringLiteral("notes.txt")) << false
                                 << QStringLiteral("file is not a database");
    QTest::newRow("a text file with create")
        << path(QStringLiteral("notes.txt")) << true << QStringLiteral("file is not a database");
    QTest::newRow("a database of the previous file format")
        << path(QStringLiteral("version2.db")) << false << QStringLiteral("file is not a database");
    QTest::newRow("a directory") << path(QStringLiteral("adir")) << false
                                 << QStringLiteral("unable to open database file");
    QTest::newRow("a file in a missing directory with create")
        << path(QStringLiteral("nodir/new.db")) << true
        << QStringLiteral("unable to open database file");
}

void TestSQLiteDB::openFailures() {
    QFETCH(QString, file);
    QFETCH(bool, create);
    QFETCH(QString, message);
    const bool existed = QFile::exists(file);

    SQLiteDB db;
    QVERIFY(!db.open(file, create));
    QVERIFY(!db.isOpen());
    QVERIFY(db.hasError());
    QCOMPARE(db.lastError(), message);
    QVERIFY(!db.hasError());
    QVERIFY(db.lastError().isNull());
    QCOMPARE(QFile::exists(file), existed); // no file is ever left behind by a failed open
}

void TestSQLiteDB::openWithCreateMakesTheFile() {
    const QString file = path(QStringLiteral("created.db"));
    SQLiteDB db;
    QVERIFY(db.open(file, true));
    QVERIFY(db.isOpen());
    QVERIFY(!db.hasError());
    QVERIFY(db.lastError().isNull());
    QVERIFY(QFile::exists(file));
    db.exec(QStringLiteral("CREATE TABLE x (a)"));
    QVERIFY(!db.hasError());
}

void TestSQLiteDB::openReadOnlyFile() {
    const QString file = makeDatabase(QStringLiteral("readonly.db"));
    QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    SQLiteDB db;
    QVERIFY(db.open(file, false));
    QVERIFY(!db.hasError());
    const ResultRows r = db.exec(QStringLiteral("SELECT s FROM t WHERE n = 2"));
    QVERIFY(!db.hasError());
    QCOMPARE(r.value(0, 0), QStringLiteral("two"));
}

void TestSQLiteDB::failedOpensAppendTheirTexts() {
    SQLiteDB db;
    QVERIFY(!db.open(path(QStringLiteral("missing.db")), false));
    QVERIFY(!db.open(path(QStringLiteral("notes.txt")), false));
    QVERIFY(!db.open(path(QStringLiteral("missing.db")), false));
    QCOMPARE(db.lastError(), QStringLiteral("File does not existfile is not a databaseFile does "
                                            "not exist"));
    QVERIFY(db.lastError().isNull());
}

void TestSQLiteDB::openClosesThePreviousConnectionEvenWhenItFails() {
    SQLiteDB db;
    QVERIFY(db.open(makeDatabase(QStringLiteral("first.db")), false));
    QVERIFY(db.isOpen());
    QVERIFY(!db.open(path(QStringLiteral("missing.db")), false));
    QVERIFY(!db.isOpen());
    db.lastError();
    db.exec(QStringLiteral("SELECT * FROM t"));
    QCOMPARE(db.lastError(), QStringLiteral("Invalid database."));
}

void TestSQLiteDB::unreadErrorIsGoneAfterTheNextExec() {
    SQLiteDB db;
    QVERIFY(!db.open(path(QStringLiteral("missing.db")), false));
    QVERIFY(db.open(makeDatabase(QStringLiteral("later.db")), false));
    QVERIFY(db.hasError()); // open does not clear an earlier text
    db.exec(QStringLiteral("SELECT n FROM t"));
    QVERIFY(!db.hasError());
    QVERIFY(db.lastError().isNull());

    QVERIFY(!db.open(path(QStringLiteral("missing.db")), false));
    QVERIFY(db.open(path(QStringLiteral("later.db")), false));
    db.exec(QStringLiteral("SELECT nosuch FROM t"));
    QCOMPARE(db.lastError(), QStringLiteral("no such column: nosuch"));
}

void TestSQLiteDB::constructorOpens() {
    SQLiteDB good(makeDatabase(QStringLiteral("ctor.db")), false);
    QVERIFY(good.isOpen());
    QVERIFY(!good.hasError());
    SQLiteDB bad(path(QStringLiteral("missing.db")), false);
    QVERIFY(!bad.isOpen());
    QCOMPARE(bad.lastError(), QStringLiteral("File does not exist"));
}

void TestSQLiteDB::execOnClosedWrapper_data() {
    QTest::addColumn<bool>("perRow");
    QTest::newRow("per row") << true;
    QTest::newRow("table") << false;
}

void TestSQLiteDB::execOnClosedWrapper() {
    QFETCH(bool, perRow);
    SQLiteDB never;
    const ResultRows r = never.exec(QStringLiteral("SELECT 1"), perRow);
    QCOMPARE(r.rowCount(), 0);
    QVERIFY(r.isEmpty());
    QCOMPARE(never.lastError(), QStringLiteral("Invalid database."));

    SQLiteDB closed(makeDatabase(QStringLiteral("closed.db")), false);
    closed.close();
    QVERIFY(!closed.isOpen());
    closed.close(); // harmless twice
    QCOMPARE(closed.exec(QStringLiteral("SELECT 1"), perRow).rowCount(), 0);
    QCOMPARE(closed.lastError(), QStringLiteral("Invalid database."));
}

void TestSQLiteDB::statementsWithoutRows_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<bool>("perRow");
    const QStringList statements = {
        QStringLiteral("CREATE TABLE v (a, b)"), QStringLiteral("INSERT INTO t VALUES (6, 'six')"),
        QStringLiteral("DROP TABLE u"), QStringLiteral("SELECT n, s FROM t WHERE n > 100")};
    for (const QString &sql : statements) {
        QTest::addRow("%s per row", qPrintable(sql)) << sql << true;
        QTest::addRow("%s in table mode", qPrintable(sql)) << sql << false;
    }
}

void TestSQLiteDB::statementsWithoutRows() {
    QFETCH(QString, sql);
    QFETCH(bool, perRow);
    SQLiteDB db(makeDatabase(QStringLiteral("norows.db")), false);
    const ResultRows r = db.exec(sql, perRow);
    QVERIFY(!db.hasError());
    QVERIFY(db.lastError().isNull());
    QVERIFY(r.isEmpty());
    QCOMPARE(r.rowCount(), 0);
    QVERIFY(r.columnName(0).isNull());
    QVERIFY(r.value(0, 0).isNull());
}

void TestSQLiteDB::syntaxError_data() {
    execOnClosedWrapper_data();
}

void TestSQLiteDB::syntaxError() {
    QFETCH(bool, perRow);
    SQLiteDB db(makeDatabase(QStringLiteral("syntax.db")), false);
    const ResultRows r = db.exec(QStringLiteral("SELEC n FROM t"), perRow);
    QVERIFY(r.isEmpty());
    QVERIFY(db.hasError());
    QCOMPARE(db.lastError(), QStringLiteral("near \"SELEC\": syntax error"));
    QVERIFY(!db.hasError());
}

void TestSQLiteDB::failureAfterSomeRows() {
    // abs() of the smallest integer fails at the third row, after two rows have been delivered.
    const QString file = makeDatabase(QStringLiteral("overflow.db"));
    SQLiteDB db(file, false);
    db.exec(QStringLiteral("UPDATE t SET n = -9223372036854775807 - 1 WHERE n = 3"));
    QVERIFY(!db.hasError());
    const QString sql = QStringLiteral("SELECT abs(n) FROM t ORDER BY rowid");

    const ResultRows perRow = db.exec(sql, true);
    QCOMPARE(db.lastError(), QStringLiteral("integer overflow"));
    QCOMPARE(perRow.rowCount(), 2);
    QCOMPARE(perRow.value(1, 0), QStringLiteral("2"));
    QCOMPARE(perRow.columnName(0), QStringLiteral("abs(n)"));

    const ResultRows table = db.exec(sql, false);
    QCOMPARE(db.lastError(), QStringLiteral("integer overflow"));
    QVERIFY(table.isEmpty());
    QVERIFY(table.columnName(0).isNull());
}

void TestSQLiteDB::perRowAndTableModeGiveTheSameRows_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QStringList>("columns");
    QTest::addColumn<int>("rows");

    QTest::newRow("all columns in order")
        << QStringLiteral("SELECT * FROM t ORDER BY n")
        << QStringList{QStringLiteral("n"), QStringLiteral("s")} << 5;
    QTest::newRow("renamed columns, descending")
        << QStringLiteral("SELECT s AS text, n * 10 AS tens FROM t ORDER BY n DESC")
        << QStringList{QStringLiteral("text"), QStringLiteral("tens")} << 5;
    QTest::newRow("a join") << QStringLiteral("SELECT t.s, u.label FROM t, u WHERE t.n = u.n")
                            << QStringList{QStringLiteral("s"), QStringLiteral("label")} << 2;
    QTest::newRow("an aggregate") << QStringLiteral("SELECT count(*), max(n) FROM t")
                                  << QStringList{QStringLiteral("count(*)"),
                                                 QStringLiteral("max(n)")}
                                  << 1;
    QTest::newRow("with a limit") << QStringLiteral("SELECT n FROM t ORDER BY n LIMIT 2")
                                  << QStringList{QStringLiteral("n")} << 2;
}

void TestSQLiteDB::perRowAndTableModeGiveTheSameRows() {
    QFETCH(QString, sql);
    QFETCH(QStringList, columns);
    QFETCH(int, rows);
    SQLiteDB db(makeDatabase(QStringLiteral("modes.db")), false);

    const ResultRows perRow = db.exec(sql, true);
    QVERIFY(!db.hasError());
    const ResultRows table = db.exec(sql, false);
    QVERIFY(!db.hasError());

    QCOMPARE(perRow.rowCount(), rows);
    QCOMPARE(table.rowCount(), rows);
    QCOMPARE(columnNames(perRow), columns);
    QCOMPARE(columnNames(table), columns);
    const QList<QStringList> perRowValues = allRows(perRow, int(columns.size()));
    QCOMPARE(allRows(table, int(columns.size())), perRowValues);
    // NULLs stay null in both modes, not only equal as texts.
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns.size(); ++c)
            QCOMPARE(table.value(r, c).isNull(), perRow.value(r, c).isNull());
}

void TestSQLiteDB::nullAndEmptyValues_data() {
    execOnClosedWrapper_data();
}

void TestSQLiteDB::nullAndEmptyValues() {
    QFETCH(bool, perRow);
    SQLiteDB db(makeDatabase(QStringLiteral("nulls.db")), false);
    const ResultRows r = db.exec(
        QStringLiteral("SELECT s, NULL, '', x'' FROM t WHERE n IN (3, 4) ORDER BY n"), perRow);
    QVERIFY(!db.hasError());
    QCOMPARE(r.rowCount(), 2);
    QVERIFY(r.value(0, 0).isNull()); // stored NULL
    QVERIFY(r.value(1, 0).isEmpty());
    QVERIFY(!r.value(1, 0).isNull()); // stored ''
    QVERIFY(r.value(0, 1).isNull());
    QVERIFY(!r.value(0, 2).isNull());
    QVERIFY(r.value(0, 2).isEmpty());
    QVERIFY(!r.value(0, 3).isNull()); // an empty blob is a value, not NULL
}

void TestSQLiteDB::textCrossesAsUtf8() {
    SQLiteDB db(makeDatabase(QStringLiteral("utf8.db")), false);
    const QString text = QStringLiteral("Crème brûlée, 5 µg, Ωmega");
    db.exec(QStringLiteral("INSERT INTO t VALUES (7, '%1')").arg(text));
    QVERIFY(!db.hasError());
    const ResultRows r =
        db.exec(QStringLiteral("SELECT s, hex('é'), length(s) FROM t WHERE n = 7"));
    QVERIFY(!db.hasError());
    QCOMPARE(r.value(0, 0), text);
    QCOMPARE(r.value(0, 1), QStringLiteral("C3A9"));
    QCOMPARE(r.value(0, 2), QString::number(text.size()));
}

void TestSQLiteDB::nextRowDeliversRowsInOrder() {
    SQLiteDB db(makeDatabase(QStringLiteral("signal.db")), false);
    QList<int> indexes;
    QList<QStringList> seen;
    QList<QStringList> namesAtSignal;
    connect(&db, &SQLiteDB::nextRow, this,
            [&](QList<QString> *row, QList<QString> *columns, int index) {
                indexes << index;
                seen << QStringList(*row);
                namesAtSignal << QStringList(*columns);
            });
    const ResultRows r = db.exec(QStringLiteral("SELECT n, s FROM t ORDER BY n"));
    QVERIFY(!db.hasError());
    QCOMPARE(indexes, (QList<int>{0, 1, 2, 3, 4}));
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(namesAtSignal.at(i), (QStringList{QStringLiteral("n"), QStringLiteral("s")}));
        QCOMPARE(seen.at(i), (QStringList{r.value(i, 0), r.value(i, 1)}));
    }

    // Table mode hands out no rows.
    indexes.clear();
    db.exec(QStringLiteral("SELECT n FROM t"), false);
    QVERIFY(indexes.isEmpty());
}

void TestSQLiteDB::abortOnRow2KeepsThreeRows() {
    SQLiteDB db(makeDatabase(QStringLiteral("abort.db")), false);
    int emitted = 0;
    connect(&db, &SQLiteDB::nextRow, this, [&](QList<QString> *, QList<QString> *, int index) {
        ++emitted;
        if (index == 2)
            db.abortQuery();
    });
    const ResultRows r = db.exec(QStringLiteral("SELECT n FROM t ORDER BY n"));
    QCOMPARE(emitted, 3);
    QCOMPARE(r.rowCount(), 3);
    QCOMPARE(r.value(2, 0), QStringLiteral("3"));
    QVERIFY(db.hasError());
    QCOMPARE(db.lastError(), QStringLiteral("query aborted"));

    // The wrapper is idle again: the next statement runs (and is stopped again on its row 2).
    const ResultRows again = db.exec(QStringLiteral("SELECT n FROM t WHERE n > 1 ORDER BY n"));
    QCOMPARE(again.rowCount(), 3);
    QCOMPARE(db.lastError(), QStringLiteral("query aborted"));
    // abortQuery outside a statement changes nothing.
    db.abortQuery();
    QCOMPARE(db.exec(QStringLiteral("SELECT n FROM t WHERE n < 3")).rowCount(), 2);
    QVERIFY(!db.hasError());
}

void TestSQLiteDB::reentrantExecFails_data() {
    QTest::addColumn<bool>("receiverReadsError");
    QTest::newRow("the receiver leaves the error pending") << false;
    QTest::newRow("the receiver reads the error") << true;
}

void TestSQLiteDB::reentrantExecFails() {
    QFETCH(bool, receiverReadsError);
    SQLiteDB db(makeDatabase(QStringLiteral("reentrant.db")), false);
    int innerRows = -1;
    QString innerError;
    bool innerHadError = false;
    int delivered = 0;
    connect(&db, &SQLiteDB::nextRow, this, [&](QList<QString> *, QList<QString> *, int index) {
        ++delivered;
        if (index != 1)
            return;
        innerRows = db.exec(QStringLiteral("SELECT n FROM t")).rowCount();
        innerHadError = db.hasError();
        if (receiverReadsError)
            innerError = db.lastError();
    });
    const ResultRows r = db.exec(QStringLiteral("SELECT n FROM t ORDER BY n"));
    QCOMPARE(innerRows, 0);
    QVERIFY(innerHadError);
    QCOMPARE(delivered, 5);
    QCOMPARE(r.rowCount(), 5);
    if (receiverReadsError) {
        QCOMPARE(innerError, QStringLiteral("Query in progress."));
        QVERIFY(!db.hasError());
    } else {
        QCOMPARE(db.lastError(), QStringLiteral("Query in progress."));
    }
}

void TestSQLiteDB::receiverClosingTheConnection() {
    SQLiteDB db(makeDatabase(QStringLiteral("closing.db")), false);
    connect(&db, &SQLiteDB::nextRow, this, [&](QList<QString> *, QList<QString> *, int index) {
        if (index == 0)
            db.close();
    });
    const ResultRows r = db.exec(QStringLiteral("SELECT n FROM t"));
    QCOMPARE(r.rowCount(), 1);
    QCOMPARE(db.lastError(), QStringLiteral("query aborted"));
    QVERIFY(!db.isOpen());
    // The file is released: it can be opened and written again.
    QVERIFY(db.open(path(QStringLiteral("closing.db")), false));
    db.exec(QStringLiteral("DELETE FROM t"));
    QVERIFY(!db.hasError());
}

void TestSQLiteDB::stackedStatementIsRefused_data() {
    QTest::addColumn<QString>("sql");
    QTest::newRow("a drop after a select") << QStringLiteral("SELECT n FROM t; DROP TABLE t");
    QTest::newRow("no blank after the semicolon") << QStringLiteral("SELECT n FROM t;DROP TABLE t");
    QTest::newRow("comments instead of blanks")
        << QStringLiteral("SELECT/**/n/**/FROM/**/t;/**/DROP/**/TABLE/**/t");
    QTest::newRow("a drop with a trailing comment")
        << QStringLiteral("SELECT n FROM t; DROP TABLE t -- tidy up");
    QTest::newRow("a drop after empty statements")
        << QStringLiteral("SELECT n FROM t;;  ; DROP TABLE t;");
    QTest::newRow("a value spliced between quotes")
        << QStringLiteral("SELECT n FROM t WHERE s LIKE '%%1%'")
               .arg(QStringLiteral("x'; DROP TABLE t; --"));
    QTest::newRow("a harmless second select") << QStringLiteral("SELECT n FROM t; SELECT 1");
    QTest::newRow("an incomplete second statement") << QStringLiteral("SELECT n FROM t; DROP");
    QTest::newRow("a delete after an insert")
        << QStringLiteral("INSERT INTO t VALUES (9, 'nine'); DELETE FROM t");
    QTest::newRow("a statement hidden behind a NUL character")
        << QString::fromUtf8("SELECT n FROM t;\0DROP TABLE t", 29);
    QTest::newRow("a NUL character first") << QString::fromUtf8("\0DROP TABLE t", 13);
}

void TestSQLiteDB::stackedStatementIsRefused() {
    QFETCH(QString, sql);
    const QString file = makeDatabase(QStringLiteral("stacked.db"));
    int delivered = 0;
    {
        SQLiteDB db(file, false);
        connect(&db, &SQLiteDB::nextRow, this, [&] { ++delivered; });
        const ResultRows perRow = db.exec(sql, true);
        QVERIFY(perRow.isEmpty());
        QCOMPARE(db.lastError(),
                 QStringLiteral("Refused to run: the text holds more than one SQL statement."));
        const ResultRows table = db.exec(sql, false);
        QVERIFY(table.isEmpty());
        QVERIFY(db.hasError());
    }
    QCOMPARE(delivered, 0); // not even the first statement ran
    QCOMPARE(rowsOfT(file), tableRows.size());
}

void TestSQLiteDB::acceptedEndings_data() {
    QTest::addColumn<QString>("sql");
    QTest::newRow("a trailing semicolon") << QStringLiteral("SELECT count(*) FROM t;");
    QTest::newRow("blanks around") << QStringLiteral("\n  SELECT count(*) FROM t ;  \n");
    QTest::newRow("several semicolons") << QStringLiteral("SELECT count(*) FROM t;; ;");
    QTest::newRow("a trailing line comment") << QStringLiteral("SELECT count(*) FROM t; -- all");
    QTest::newRow("a line comment without semicolon")
        << QStringLiteral("SELECT count(*) FROM t -- all");
    QTest::newRow("a trailing block comment")
        << QStringLiteral("SELECT count(*) FROM t /* all */;");
    QTest::newRow("a leading comment") << QStringLiteral("/* count */ SELECT count(*) FROM t");
    QTest::newRow("a semicolon inside a text")
        << QStringLiteral("SELECT count(*) FROM t WHERE s <> 'a; DROP TABLE t' OR s IS NULL");
}

void TestSQLiteDB::acceptedEndings() {
    QFETCH(QString, sql);
    SQLiteDB db(makeDatabase(QStringLiteral("endings.db")), false);
    const ResultRows r = db.exec(sql);
    QVERIFY2(!db.hasError(), qPrintable(db.lastError()));
    QCOMPARE(r.rowCount(), 1);
    QCOMPARE(r.value(0, 0), QStringLiteral("5"));
}

void TestSQLiteDB::textWithoutStatement_data() {
    QTest::addColumn<QString>("sql");
    QTest::newRow("empty") << QString();
    QTest::newRow("blanks") << QStringLiteral(" \n\t ");
    QTest::newRow("a comment") << QStringLiteral("-- nothing to do");
    QTest::newRow("semicolons") << QStringLiteral(";;");
}

void TestSQLiteDB::textWithoutStatement() {
    QFETCH(QString, sql);
    SQLiteDB db(makeDatabase(QStringLiteral("empty.db")), false);
    const ResultRows r = db.exec(sql);
    QVERIFY(!db.hasError());
    QVERIFY(r.isEmpty());
}

void TestSQLiteDB::version() {
    QVERIFY(SQLiteDB::version().startsWith(QLatin1String("3.")));
}

QTEST_GUILESS_MAIN(TestSQLiteDB)
#include "tst_sqlitedb.moc"
