// Writing FOODS.db, with and without word tokens.
#include "db/sqlitedb.h"
#include "db/sqltext.h"
#include "finding/topcriteria.h"
#include "finding/wordindex.h"
#include "tests/tools/srfixtures.h"
#include "tools/foodsdbwriter.h"
#include "tools/srasciireader.h"
#include "tools/wordtokenizer.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

SrData asciiFixtureData(const QString &folder) {
    SrAsciiReader reader(14);
    if (!writeAsciiFixture(folder) || !reader.readDirectory(folder))
        qFatal("fixture: %s", qPrintable(reader.errorString()));
    return reader.takeData();
}

SrData foodsWithDescriptions(const QStringList &descriptions) {
    SrData data;
    data.release = 1;
    data.groups = {{QStringLiteral("0100"), QStringLiteral("Dairy and Egg Products")}};
    for (qsizetype i = 0; i < descriptions.size(); ++i) {
        SrFood food;
        food.number = int(1000 + i);
        food.description = descriptions[i];
        food.group = QStringLiteral("0100");
        food.nutrients[0] = double(i);
        data.foods.push_back(food);
    }
    return data;
}

QByteArray contents(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QSet<QString> numbersWhere(SQLiteDB &db, const QString &condition) {
    QSet<QString> numbers;
    const ResultRows rows =
        db.exec(QStringLiteral("select NDB_No from FOODS_WR where ") + condition);
    for (int i = 0; i < rows.rowCount(); ++i)
        numbers.insert(rows.value(i, 0));
    return numbers;
}

} // namespace

class TestFoodsDbWriter : public QObject {
    Q_OBJECT
private slots:
    void tablesFromAsciiFiles();
    void failedBuildLeavesOutputUntouched_data();
    void failedBuildLeavesOutputUntouched();
    void outputIsReplacedWhole();
    void tokenChoice_data();
    void tokenChoice();
    void wordTokensAreLosslessAndSearchable();

private:
    QTemporaryDir dir;
};

void TestFoodsDbWriter::tablesFromAsciiFiles() {
    const QString path = dir.filePath(QStringLiteral("ascii.db"));
    FoodsDbWriter writer;
    QVERIFY2(writer.write(asciiFixtureData(dir.filePath(QStringLiteral("ascii"))), path, {}),
             qPrintable(writer.errorString()));
    SQLiteDB db(path, false);
    QCOMPARE(db.userVersion(), 14);

    // Columns read by index: the group name second, the token first.
    const ResultRows groups =
        db.exec(QStringLiteral("select * from FOODS_GROUP order by FdGrp_DEsc"));
    QCOMPARE(groups.rowCount(), 3);
    QCOMPARE(groups.value(0, 1), QStringLiteral("Dairy and Egg Products"));
    QCOMPARE(groups.value(0, 0), QStringLiteral("0100"));
    QCOMPARE(db.exec(QStringLiteral("select * from WORDS_WR")).rowCount(), 0);
    QCOMPARE(db.exec(QStringLiteral("select WID, TEXT from WORDS_WR")).columnCount(), 0);

    // The details statement with the unquoted number, joined with the group.
    const ResultRows cheddar = db.exec(QStringLiteral(
        "select Energ_Kcal, Protein, FA_Sat, Vit_A, Vit_E, \"desc\", NDB_No, GmWt_1, GmWt_Desc1, "
        "GmWt_2, GmWt_Desc2, FOODS_GROUP.FdGrp_Desc, typeof(NDB_No), typeof(Protein) from "
        "FOODS_WR,FOODS_GROUP where NDB_No=01009 and FOODS_WR.FdGrp_Cd=FOODS_GROUP.FdGrp_Cd"));
    QCOMPARE(cheddar.rowCount(), 1);
    const QStringList expected = {
        "403",     "24.9", "21.092",       QString(), "0.29",          "Cheese, cheddar",
        "1009",    "132",  "1 cup, diced", "244",     "1 cup, melted", "Dairy and Egg Products",
        "integer", "real"};
    for (int column = 0; column < expected.size(); ++column)
        QCOMPARE(cheddar.value(0, column), expected[column]);

    // Unknown amounts and missing servings are NULL, never 0 or empty text.
    const ResultRows butter = db.exec(QStringLiteral(
        "select FA_Sat, GmWt_Desc1, GmWt_2, GmWt_Desc2 from FOODS_WR where NDB_No=1001"));
    QVERIFY(butter.value(0, 0).isNull());
    QCOMPARE(butter.value(0, 1), QStringLiteral("1 pat (1\" sq, 1/3\" high)"));
    QVERIFY(butter.value(0, 2).isNull());
    QVERIFY(butter.value(0, 3).isNull());
    const ResultRows oil =
        db.exec(QStringLiteral("select GmWt_1, GmWt_Desc1 from FOODS_WR where NDB_No=4053"));
    QVERIFY(oil.value(0, 0).isNull());
    QVERIFY(oil.value(0, 1).isNull());

    // Text is UTF-8 and the browse statement finds the food by its group.
    const ResultRows vegetables = db.exec(QStringLiteral(
        "select NDB_No,desc from FOODS_WR where FdGrp_Cd='1100' order by desc desc"));
    QCOMPARE(vegetables.value(0, 1), QStringLiteral("Crème brûlée, “café” style"));
    QCOMPARE(vegetables.value(1, 1), QStringLiteral("Carrots, raw"));
    QCOMPARE(db.exec(QStringLiteral("select count(*) from FOODS_WR")).value(0, 0),
             QStringLiteral("5"));

    // The rankings are there already; amounts sort as numbers.
    // Only criteria with a figure for some food get a table: saturated fat, calories (both
    // ways), vitamin E and protein.
    QCOMPARE(writer.rankingTables(), 6);
    const ResultRows most = db.exec(QStringLiteral("select id from topdata_Energ_Kcal_2"));
    QCOMPARE(most.value(0, 0), QStringLiteral("4053"));
    QCOMPARE(most.value(1, 0), QStringLiteral("1001"));

    const ResultRows indexes =
        db.exec(QStringLiteral("select count(*) from sqlite_master where type='index' and "
                               "sql is not null"));
    QCOMPARE(indexes.value(0, 0), QStringLiteral("4"));
}

void TestFoodsDbWriter::failedBuildLeavesOutputUntouched_data() {
    QTest::addColumn<QStringList>("descriptions");
    QTest::addColumn<int>("secondNumber");
    QTest::addColumn<QString>("message");
    QTest::newRow("a description holding the token delimiter, refused before writing")
        << QStringList{"Milk", "Cheese, @home@"} << 1001 << "food 1001: its description holds '@'";
    QTest::newRow("two foods with one number, refused by the library while writing")
        << QStringList{"Milk", "Cheese"} << 1000 << "UNIQUE constraint failed";
}

void TestFoodsDbWriter::failedBuildLeavesOutputUntouched() {
    QFETCH(QStringList, descriptions);
    QFETCH(int, secondNumber);
    QFETCH(QString, message);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("FOODS.db"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("the previous database");
    }
    SrData data = foodsWithDescriptions(descriptions);
    data.foods[1].number = secondNumber;
    FoodsDbWriter writer;
    QVERIFY(!writer.write(data, path, {}));
    QVERIFY2(writer.errorString().contains(message), qPrintable(writer.errorString()));
    QCOMPARE(contents(path), QByteArray("the previous database"));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"FOODS.db"});
}

void TestFoodsDbWriter::outputIsReplacedWhole() {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("FOODS.db"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("not a database");
    }
    FoodsDbWriter writer;
    QVERIFY(writer.write(foodsWithDescriptions({"Milk", "Egg"}), path, {}));
    SQLiteDB db(path, false);
    QVERIFY(db.isOpen());
    QCOMPARE(db.exec(QStringLiteral("select count(*) from FOODS_WR")).value(0, 0),
             QStringLiteral("2"));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"FOODS.db"});
    // Installed data: readable by everyone.
    QVERIFY(QFileInfo(path).permissions().testFlag(QFileDevice::ReadOther));

    // A folder that is not there is reported with the output's name.
    const QString nowhere = folder.filePath(QStringLiteral("missing/FOODS.db"));
    QVERIFY(!writer.write(foodsWithDescriptions({"Milk"}), nowhere, {}));
    QVERIFY2(writer.errorString().startsWith(nowhere), qPrintable(writer.errorString()));
}

void TestFoodsDbWriter::tokenChoice_data() {
    QTest::addColumn<QStringList>("descriptions");
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("tokenised");
    const QStringList common = {
        "Beans, snap, canned", "Peas, canned, drained", "Corn, canned, cream style",
        "Beets, canned",       "Carrots, canned",       "Tomatoes, canned, stewed",
    };
    QTest::newRow("a frequent word always spelled alike") << common << "canned" << true;
    QTest::newRow("the same word in another letter case elsewhere")
        << (common + QStringList{"Canned soup"}) << "canned" << false;
    QTest::newRow("the word inside a longer word elsewhere")
        << (common + QStringList{"Peaches, uncanned"}) << "canned" << false;
    QTest::newRow("the word inside a hyphenated word elsewhere, which search takes whole")
        << (common + QStringList{"Beans, canned-style"}) << "canned" << false;
    QTest::newRow("a separator ends a word")
        << (common + QStringList{"Beans (canned)+salt"}) << "canned" << true;
    QTest::newRow("a rare word saves nothing") << common << "snap" << false;
    QTest::newRow("a word with a LIKE wildcard")
        << QStringList{"Milk, 1%_fat",  "Yogurt, 1%_fat", "Cheese, 1%_fat", "Cream, 1%_fat",
                       "Kefir, 1%_fat", "Whey, 1%_fat",   "Curd, 1%_fat"}
        << "1%_fat" << false;
}

void TestFoodsDbWriter::tokenChoice() {
    QFETCH(QStringList, descriptions);
    QFETCH(QString, word);
    QFETCH(bool, tokenised);
    const WordTokenizer tokenizer(descriptions);
    QString token;
    for (const auto &entry : tokenizer.dictionary()) {
        if (entry.second == word)
            token = entry.first;
    }
    QCOMPARE(!token.isEmpty(), tokenised);
    WordIndex index;
    for (const auto &entry : tokenizer.dictionary())
        index.insert(entry.first, entry.second);
    for (const QString &description : descriptions) {
        const QString stored = tokenizer.tokenize(description);
        QCOMPARE(expandDescription(stored, index), description);
        if (tokenised && description.contains(word))
            QVERIFY(stored.contains(token));
    }
}

void TestFoodsDbWriter::wordTokensAreLosslessAndSearchable() {
    QStringList descriptions;
    const char *const kinds[] = {"Beef", "Pork", "Lamb", "Veal", "Chicken", "Turkey"};
    const char *const cuts[] = {"chuck", "loin", "shoulder", "rib", "leg"};
    for (const char *kind : kinds) {
        for (const char *cut : cuts)
            descriptions << QStringLiteral("%1, %2, separable lean only, trimmed to 1/8\" fat, "
                                           "cooked, braised")
                                .arg(QLatin1String(kind), QLatin1String(cut));
    }
    descriptions << QStringLiteral("Beef, CHUCK roast (McDONALD'S), braised")
                 << QStringLiteral("Lamb, rib, untrimmed, rib-eye");
    const QString path = dir.filePath(QStringLiteral("tokens.db"));
    FoodsDbWriter writer;
    FoodsDbWriter::Options options;
    options.wordTokens = true;
    QVERIFY2(writer.write(foodsWithDescriptions(descriptions), path, options),
             qPrintable(writer.errorString()));
    QVERIFY(writer.dictionarySize() > 3);

    SQLiteDB db(path, false);
    WordIndex index;
    const ResultRows words = db.exec(QStringLiteral("select * from WORDS_WR"));
    QCOMPARE(words.rowCount(), writer.dictionarySize());
    for (int i = 0; i < words.rowCount(); ++i)
        index.insert(words.value(i, 0), words.value(i, 1));
    const ResultRows foods =
        db.exec(QStringLiteral("select NDB_No, desc from FOODS_WR order by NDB_No"));
    qsizetype storedLength = 0;
    for (int i = 0; i < foods.rowCount(); ++i) {
        QCOMPARE(expandDescription(foods.value(i, 1), index), descriptions[i]);
        storedLength += foods.value(i, 1).size();
    }
    QVERIFY(storedLength < descriptions.join(QString()).size() * 9 / 10);

    // chuck has a second spelling, rib a longer word: neither got a token.
    QVERIFY(!index.values().contains(QStringLiteral("chuck")));
    QVERIFY(!index.values().contains(QStringLiteral("rib")));
    for (auto it = index.cbegin(); it != index.cend(); ++it) {
        const ResultRows lookup =
            db.exec(QStringLiteral("select WID from WORDS_WR where TEXT like '") +
                    sqlQuoted(it.value().toUpper()) + QStringLiteral("'"));
        QCOMPARE(lookup.rowCount(), 1);
        QCOMPARE(lookup.value(0, 0), it.key());
        QSet<QString> plain;
        for (int i = 0; i < descriptions.size(); ++i) {
            if (descriptions[i].contains(it.value(), Qt::CaseInsensitive))
                plain.insert(QString::number(1000 + i));
        }
        QCOMPARE(numbersWhere(db, QStringLiteral("desc like '%") + it.key() + QStringLiteral("%'")),
                 plain);
    }
}

QTEST_GUILESS_MAIN(TestFoodsDbWriter)
#include "tst_foodsdbwriter.moc"
