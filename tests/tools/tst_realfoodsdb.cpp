// The FOODS.db built from the real USDA SR24 data in the build tree.
#include "db/sqlitedb.h"
#include "db/sqltext.h"
#include "finding/topcache.h"
#include "finding/topcriteria.h"
#include "finding/wordindex.h"
#include "tests/common/fixturedb.h"
#include "tools/foodsdbwriter.h"

#include <QCryptographicHash>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QStringList debugLines;

void collectDebug(QtMsgType type, const QMessageLogContext &, const QString &message) {
    if (type == QtDebugMsg)
        debugLines.append(message);
}

QSet<QString> numbersWhere(SQLiteDB &db, const QString &condition) {
    QSet<QString> numbers;
    const ResultRows rows =
        db.exec(QStringLiteral("select NDB_No from FOODS_WR where ") + condition);
    for (int i = 0; i < rows.rowCount(); ++i)
        numbers.insert(rows.value(i, 0));
    return numbers;
}

QByteArray fileHash(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly)
               ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
               : QByteArray();
}

} // namespace

class TestRealFoodsDb : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void foodsAndGroups();
    void cheddar();
    void amountsAreNumbersOrNull();
    void rankings();
    void installedFileNeedsNoWriteAtStart();
    void wordTokens();

private:
    QString path;
    SQLiteDB db;
};

void TestRealFoodsDb::initTestCase() {
    path = realFoodsDatabase();
    if (path.isEmpty()) {
        // In CI the build always makes it: its absence is a failure there, not a skip.
        if (qEnvironmentVariableIsSet("CI"))
            QFAIL("FOODS.db of the real SR24 data was not built (is KALO_SR24_JAR set?)");
        QSKIP("FOODS.db of the real SR24 data was not built");
    }
    QVERIFY2(db.open(path, false), qPrintable(db.lastError()));
    qInstallMessageHandler(collectDebug);
}

void TestRealFoodsDb::foodsAndGroups() {
    QCOMPARE(db.userVersion(), 24);
    QCOMPARE(db.exec(QStringLiteral("select count(*) from FOODS_WR")).value(0, 0),
             QStringLiteral("7906"));
    const ResultRows groups =
        db.exec(QStringLiteral("select * from FOODS_GROUP order by FdGrp_DEsc"));
    QCOMPARE(groups.rowCount(), 25);
    QCOMPARE(groups.value(0, 1), QStringLiteral("American Indian/Alaska Native Foods"));
    QCOMPARE(groups.value(24, 1), QStringLiteral("Vegetables and Vegetable Products"));
    // Every group holds foods, every food has a group.
    QCOMPARE(db.exec(QStringLiteral("select count(distinct FOODS_WR.FdGrp_Cd) from FOODS_WR, "
                                    "FOODS_GROUP where FOODS_WR.FdGrp_Cd=FOODS_GROUP.FdGrp_Cd"))
                 .value(0, 0),
             QStringLiteral("25"));
    QCOMPARE(db.exec(QStringLiteral("select count(*) from FOODS_WR, FOODS_GROUP where "
                                    "FOODS_WR.FdGrp_Cd=FOODS_GROUP.FdGrp_Cd"))
                 .value(0, 0),
             QStringLiteral("7906"));
    // The ground beef calculator has no nutrients and is left out.
    QVERIFY(db.exec(QStringLiteral("select NDB_No from FOODS_WR where NDB_No=23999")).isEmpty());
    QCOMPARE(db.exec(QStringLiteral("select count(*) from WORDS_WR")).value(0, 0),
             QStringLiteral("0"));
}

void TestRealFoodsDb::cheddar() {
    const ResultRows food = db.exec(QStringLiteral(
        "select Energ_Kcal, Protein, Vit_A, \"desc\", GmWt_1, GmWt_Desc1, GmWt_2, GmWt_Desc2, "
        "FOODS_GROUP.FdGrp_Desc from FOODS_WR,FOODS_GROUP where NDB_No=01009 and "
        "FOODS_WR.FdGrp_Cd=FOODS_GROUP.FdGrp_Cd"));
    const QStringList expected = {
        "403",          "24.9", "1002",          "Cheese, cheddar",       "132",
        "1 cup, diced", "244",  "1 cup, melted", "Dairy and Egg Products"};
    for (int column = 0; column < expected.size(); ++column)
        QCOMPARE(food.value(0, column), expected[column]);
}

void TestRealFoodsDb::amountsAreNumbersOrNull() {
    QStringList columns = {"GmWt_1", "GmWt_2"};
    for (int i = 0; i < 25; ++i)
        columns << QLatin1String(foodsNutrientColumns[i]);
    for (const QString &column : columns) {
        const ResultRows wrong =
            db.exec(QStringLiteral("select count(*) from FOODS_WR where typeof(%1) not in "
                                   "('integer', 'real', 'null')")
                        .arg(column));
        QVERIFY2(wrong.value(0, 0) == QLatin1String("0"), qPrintable(column));
    }
    // Unknown stays unknown: SR24 lacks a saturated-fat figure for hundreds of foods.
    const int unknown =
        db.exec(QStringLiteral("select count(*) from FOODS_WR where FA_Sat is null"))
            .value(0, 0)
            .toInt();
    QVERIFY(unknown > 100);
}

void TestRealFoodsDb::rankings() {
    for (int i = 0; i < topCriteriaCount; ++i) {
        const ResultRows rows = db.exec(QStringLiteral("select id from ") + topTableName(i));
        QVERIFY2(!db.hasError() && rows.rowCount() == 15, topLabels[i]);
    }
    // The Top page's statement for "Most calories": fats and oils, about 900 kcal.
    const ResultRows most =
        db.exec(QStringLiteral("select id,desc, Energ_Kcal, FdGrp_Cd from topdata_Energ_Kcal_2, "
                               "FOODS_WR where NDB_No=id "));
    QCOMPARE(most.rowCount(), 15);
    for (int i = 0; i < most.rowCount(); ++i) {
        QCOMPARE(most.value(i, 3), QStringLiteral("0400"));
        QVERIFY(most.value(i, 2).toDouble() >= 884);
    }
    // "Least saturated fat" holds fifteen foods that have a figure.
    const ResultRows least = db.exec(
        QStringLiteral("select id,desc, FA_Sat from topdata_FA_Sat_1, FOODS_WR where NDB_No=id "));
    QCOMPARE(least.rowCount(), 15);
    for (int i = 0; i < least.rowCount(); ++i)
        QVERIFY2(!least.value(i, 2).isEmpty(), qPrintable(least.value(i, 1)));
}

void TestRealFoodsDb::installedFileNeedsNoWriteAtStart() {
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("FOODS.db"));
    QVERIFY(QFile::copy(path, copy));
    const QByteArray before = fileHash(copy);
    debugLines.clear();
    {
        SQLiteDB installed(QStringLiteral("file:%1?mode=ro").arg(copy), true);
        QVERIFY(installed.isOpen());
        prepareTopCache(installed);
        QVERIFY(!installed.hasError());
    }
    QVERIFY(debugLines.isEmpty());
    QCOMPARE(fileHash(copy), before);
}

void TestRealFoodsDb::wordTokens() {
    // The same descriptions, tokenised as kalo-mkdb --word-tokens does.
    SrData data;
    data.release = 24;
    const ResultRows groups =
        db.exec(QStringLiteral("select FdGrp_Cd, FdGrp_Desc from FOODS_GROUP"));
    for (int i = 0; i < groups.rowCount(); ++i)
        data.groups.append({groups.value(i, 0), groups.value(i, 1)});
    const ResultRows foods =
        db.exec(QStringLiteral("select NDB_No, desc, FdGrp_Cd from FOODS_WR order by NDB_No"));
    for (int i = 0; i < foods.rowCount(); ++i) {
        SrFood food;
        food.number = foods.value(i, 0).toInt();
        food.description = foods.value(i, 1);
        food.group = foods.value(i, 2);
        data.foods.push_back(food);
    }
    QTemporaryDir dir;
    const QString tokenisedPath = dir.filePath(QStringLiteral("FOODS.db"));
    FoodsDbWriter writer;
    FoodsDbWriter::Options options;
    options.wordTokens = true;
    QVERIFY2(writer.write(data, tokenisedPath, options), qPrintable(writer.errorString()));
    QVERIFY(writer.dictionarySize() > 100);
    SQLiteDB tokenised(tokenisedPath, false);

    // Lossless: every description expands back to its exact text.
    WordIndex index;
    const ResultRows words = tokenised.exec(QStringLiteral("select * from WORDS_WR"));
    for (int i = 0; i < words.rowCount(); ++i)
        index.insert(words.value(i, 0), words.value(i, 1));
    const ResultRows stored =
        tokenised.exec(QStringLiteral("select NDB_No, desc from FOODS_WR order by NDB_No"));
    QCOMPARE(stored.rowCount(), foods.rowCount());
    qsizetype plainLength = 0;
    qsizetype storedLength = 0;
    for (int i = 0; i < stored.rowCount(); ++i) {
        QCOMPARE(stored.value(i, 0), foods.value(i, 0));
        QCOMPARE(expandDescription(stored.value(i, 1), index), foods.value(i, 1));
        plainLength += foods.value(i, 1).size();
        storedLength += stored.value(i, 1).size();
    }
    QVERIFY(storedLength < plainLength);

    // Searching a tokenised word finds the same foods as searching its text in plain data.
    for (auto it = index.cbegin(); it != index.cend(); ++it) {
        const ResultRows lookup =
            tokenised.exec(QStringLiteral("select WID from WORDS_WR where TEXT like '") +
                           sqlQuoted(it.value()) + QStringLiteral("'"));
        QVERIFY2(lookup.rowCount() == 1 && lookup.value(0, 0) == it.key(), qPrintable(it.value()));
        const QSet<QString> found = numbersWhere(tokenised, QStringLiteral("desc like '%") +
                                                                it.key() + QStringLiteral("%'"));
        const QSet<QString> plain = numbersWhere(
            db, QStringLiteral("desc like '%") + sqlQuoted(it.value()) + QStringLiteral("%'"));
        QVERIFY2(found == plain, qPrintable(it.value()));
    }
}

QTEST_GUILESS_MAIN(TestRealFoodsDb)
#include "tst_realfoodsdb.moc"
