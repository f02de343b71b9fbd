// Tests of ResultRows: reads out of range, sharing between handles, rows handed out while filling.
#include "db/resultrows.h"
#include "db/sqlitedb.h"

#include <QTemporaryDir>
#include <QtTest>

#include <climits>
#include <memory>

class TestResultRows : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    SQLiteDB db;

private slots:
    void initTestCase();
    void newResultIsEmpty();
    void readsOutOfRange_data();
    void readsOutOfRange();
    void copyOutlivesTheOriginal();
    void assignment();
    void rowsHandedOutStayValid();
};

void TestResultRows::initTestCase() {
    QVERIFY(dir.isValid());
    QVERIFY(db.open(dir.filePath(QStringLiteral("rows.db")), true));
    db.exec(QStringLiteral("CREATE TABLE r (a, b, c)"));
    QVERIFY(!db.hasError());
    db.exec(QStringLiteral("WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM k "
                           "WHERE i < 2500) INSERT INTO r SELECT i, 'row ' || i, i * 2 FROM k"));
    QVERIFY2(!db.hasError(), qPrintable(db.lastError()));
}

void TestResultRows::newResultIsEmpty() {
    const ResultRows r;
    QCOMPARE(r.rowCount(), 0);
    QVERIFY(r.isEmpty());
    QCOMPARE(r.columnCount(), 0);
    QVERIFY(r.value(0, 0).isNull());
    QVERIFY(r.columnName(0).isNull());
}

void TestResultRows::readsOutOfRange_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("expected"); // null: out of range

    QTest::newRow("the first cell") << 0 << 0 << QStringLiteral("1");
    QTest::newRow("the last cell") << 2 << 2 << QStringLiteral("6");
    QTest::newRow("the row after the last") << 3 << 0 << QString();
    QTest::newRow("the column after the last") << 0 << 3 << QString();
    QTest::newRow("a negative row") << -1 << 0 << QString();
    QTest::newRow("a negative column") << 0 << -1 << QString();
    QTest::newRow("the smallest int as row") << INT_MIN << 0 << QString();
    QTest::newRow("the largest int as column") << 0 << INT_MAX << QString();
}

void TestResultRows::readsOutOfRange() {
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, expected);
    const ResultRows r = db.exec(QStringLiteral("SELECT a, b, c FROM r WHERE a <= 3 ORDER BY a"));
    QVERIFY(!db.hasError());
    QCOMPARE(r.rowCount(), 3);
    QCOMPARE(r.value(row, column).isNull(), expected.isNull());
    QCOMPARE(r.value(row, column), expected);
    // Column names follow the same rule.
    QCOMPARE(r.columnName(column).isNull(), column < 0 || column > 2);
}

void TestResultRows::copyOutlivesTheOriginal() {
    auto original = std::make_unique<ResultRows>(
        db.exec(QStringLiteral("SELECT b, a FROM r WHERE a IN (7, 8) ORDER BY a")));
    const ResultRows copy(*original);
    original.reset();
    QCOMPARE(copy.rowCount(), 2);
    QCOMPARE(copy.value(1, 0), QStringLiteral("row 8"));
    QCOMPARE(copy.columnName(1), QStringLiteral("a"));
}

void TestResultRows::assignment() {
    ResultRows first = db.exec(QStringLiteral("SELECT a FROM r WHERE a < 5"));
    ResultRows second = db.exec(QStringLiteral("SELECT b FROM r WHERE a = 10"));

    ResultRows &alias = first;
    first = alias; // assigning a handle to itself
    QCOMPARE(first.rowCount(), 4);
    QCOMPARE(first.value(3, 0), QStringLiteral("4"));

    ResultRows sharing = first;
    first = sharing; // a handle that already shares the body
    QCOMPARE(first.rowCount(), 4);

    first = second; // replacing one result by a later one, as the query sites do
    QCOMPARE(first.rowCount(), 1);
    QCOMPARE(first.value(0, 0), QStringLiteral("row 10"));
    QCOMPARE(sharing.rowCount(), 4); // the other handle keeps the old body
    QCOMPARE(sharing.value(0, 0), QStringLiteral("1"));
    second = ResultRows();
    QCOMPARE(first.value(0, 0), QStringLiteral("row 10"));
}

void TestResultRows::rowsHandedOutStayValid() {
    QList<QList<QString> *> handedOut;
    QList<QString> *names = nullptr;
    const auto connection = connect(&db, &SQLiteDB::nextRow, this,
                                    [&](QList<QString> *row, QList<QString> *columns, int) {
                                        handedOut << row;
                                        names = columns;
                                    });
    const ResultRows r = db.exec(QStringLiteral("SELECT a, b FROM r ORDER BY a"));
    disconnect(connection);
    QVERIFY(!db.hasError());
    QCOMPARE(r.rowCount(), 2500);
    QCOMPARE(handedOut.size(), 2500);
    // Every row pointer still points at its row after all later rows were appended.
    for (int i = 0; i < handedOut.size(); ++i) {
        QCOMPARE(handedOut.at(i)->size(), 2);
        QCOMPARE(handedOut.at(i)->at(0), r.value(i, 0));
        QCOMPARE(handedOut.at(i)->at(1), QStringLiteral("row %1").arg(i + 1));
    }
    QVERIFY(names);
    QCOMPARE(*names, (QList<QString>{QStringLiteral("a"), QStringLiteral("b")}));
}

QTEST_GUILESS_MAIN(TestResultRows)
#include "tst_resultrows.moc"
