// The statement texts of browsing, word search and the Top 15 page, and the search word split.
#include "finding/statements.h"
#include "finding/topcriteria.h"

#include <QtTest>

class TestStatements : public QObject {
    Q_OBJECT
private slots:
    void fixedStatements();
    void valuesAreQuoted_data();
    void valuesAreQuoted();
    void searchWords_data();
    void searchWords();
    void searchCondition_data();
    void searchCondition();
    void topRanking_data();
    void topRanking();
};

void TestStatements::fixedStatements() {
    QCOMPARE(groupListStatement(), QStringLiteral("select * from FOODS_GROUP order by FdGrp_DEsc"));
    QCOMPARE(wordIndexStatement(), QStringLiteral("select * from WORDS_WR"));
}

void TestStatements::valuesAreQuoted_data() {
    QTest::addColumn<QString>("made");
    QTest::addColumn<QString>("expected");
    QTest::newRow("a group name is placed between quotes")
        << groupCodeStatement(QStringLiteral("Fats and Oils"))
        << QStringLiteral("select FdGrp_Cd from FOODS_GROUP where FdGrp_Desc='Fats and Oils'");
    QTest::newRow("an apostrophe in a group name is doubled")
        << groupCodeStatement(QStringLiteral("Baby's foods"))
        << QStringLiteral("select FdGrp_Cd from FOODS_GROUP where FdGrp_Desc='Baby''s foods'");
    QTest::newRow("a group code is placed between quotes")
        << browseStatement(QStringLiteral("0100"))
        << QStringLiteral(
               "select NDB_No,desc from FOODS_WR where FdGrp_Cd='0100' order by desc desc");
    QTest::newRow("a null group code gives empty quotes")
        << browseStatement(QString())
        << QStringLiteral("select NDB_No,desc from FOODS_WR where FdGrp_Cd='' order by desc desc");
    QTest::newRow("a dictionary word has no wildcard added")
        << wordLookupStatement(QStringLiteral("cheddar"))
        << QStringLiteral("select WID from WORDS_WR where TEXT like 'cheddar'");
    QTest::newRow("an apostrophe in a word is doubled")
        << wordLookupStatement(QStringLiteral("campbell's"))
        << QStringLiteral("select WID from WORDS_WR where TEXT like 'campbell''s'");
    QTest::newRow("an attempt to end the statement stays inside the quotes")
        << wordLookupStatement(QStringLiteral("x';drop/**/table/**/FOODS_WR;--"))
        << QStringLiteral("select WID from WORDS_WR where TEXT like 'x'';drop/**/table/**/"
                          "FOODS_WR;--'");
    QTest::newRow("the LIKE wildcards are left as typed")
        << wordLookupStatement(QStringLiteral("ch%_se"))
        << QStringLiteral("select WID from WORDS_WR where TEXT like 'ch%_se'");
}

void TestStatements::valuesAreQuoted() {
    QFETCH(QString, made);
    QFETCH(QString, expected);
    QCOMPARE(made, expected);
}

void TestStatements::searchWords_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("words");
    QTest::newRow("blanks separate words")
        << QStringLiteral("cheese raw") << QStringList{"cheese", "raw"};
    QTest::newRow("comma and plus separate words")
        << QStringLiteral("cheese,raw+egg") << QStringList{"cheese", "raw", "egg"};
    QTest::newRow("a vertical bar and parentheses separate words")
        << QStringLiteral("(egg)|milk") << QStringList{"egg", "milk"};
    QTest::newRow("runs of separators and separators at the ends give no empty word")
        << QStringLiteral(" ,egg ,, + milk) ") << QStringList{"egg", "milk"};
    QTest::newRow("semicolon, hyphen and tab are part of a word")
        << QStringLiteral("a;b c-d e\tf") << QStringList{"a;b", "c-d", "e\tf"};
    QTest::newRow("letter case is kept") << QStringLiteral("Apple") << QStringList{"Apple"};
    QTest::newRow("an apostrophe is part of a word")
        << QStringLiteral("campbell's soup") << QStringList{"campbell's", "soup"};
    QTest::newRow("separators only give no word") << QStringLiteral(", ,+()|") << QStringList{};
}

void TestStatements::searchWords() {
    QFETCH(QString, text);
    QFETCH(QStringList, words);
    QCOMPARE(::searchWords(text), words);
}

void TestStatements::searchCondition_data() {
    QTest::addColumn<bool>("restricted");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QStringList>("terms");
    QTest::addColumn<QString>("statement");
    QTest::newRow("two terms over all groups")
        << false << QString() << QStringList{"@CHD@", "raw"}
        << QStringLiteral("select NDB_No,desc from FOODS_WR where desc like '%@CHD@%'  or desc "
                          "like '%raw%'  order by desc desc");
    QTest::newRow("two terms within a group")
        << true << QStringLiteral("0100") << QStringList{"@CHD@", "raw"}
        << QStringLiteral("select NDB_No,desc from FOODS_WR where FdGrp_Cd='0100' and (  desc "
                          "like '%@CHD@%'  or desc like '%raw%' )  order by desc desc");
    QTest::newRow("no term over all groups has no condition")
        << false << QString() << QStringList{}
        << QStringLiteral("select NDB_No,desc from FOODS_WR order by desc desc");
    QTest::newRow("no term within a group leaves empty parentheses")
        << true << QStringLiteral("0100") << QStringList{}
        << QStringLiteral("select NDB_No,desc from FOODS_WR where FdGrp_Cd='0100' and ( )  order "
                          "by desc desc");
    QTest::newRow("a group without code still restricts")
        << true << QString() << QStringList{"egg"}
        << QStringLiteral("select NDB_No,desc from FOODS_WR where FdGrp_Cd='' and (  desc like "
                          "'%egg%' )  order by desc desc");
    QTest::newRow("apostrophes in terms and codes are doubled, wildcards kept")
        << true << QStringLiteral("0'1") << QStringList{"campbell's", "a_b%"}
        << QStringLiteral("select NDB_No,desc from FOODS_WR where FdGrp_Cd='0''1' and (  desc "
                          "like '%campbell''s%'  or desc like '%a_b%%' )  order by desc desc");
}

void TestStatements::searchCondition() {
    QFETCH(bool, restricted);
    QFETCH(QString, code);
    QFETCH(QStringList, terms);
    QFETCH(QString, statement);
    QCOMPARE(searchStatement(::searchCondition(restricted, code, terms)), statement);
}

void TestStatements::topRanking_data() {
    QTest::addColumn<int>("criterion");
    QTest::addColumn<QString>("statement");
    QTest::newRow("the first criterion")
        << 0
        << QStringLiteral(
               "select id,desc, FA_Sat from topdata_FA_Sat_0, FOODS_WR where NDB_No=id ");
    QTest::newRow("a Least criterion reads its own table")
        << 3
        << QStringLiteral(
               "select id,desc, Energ_Kcal from topdata_Energ_Kcal_3, FOODS_WR where NDB_No=id ");
    QTest::newRow("the last criterion")
        << 19
        << QStringLiteral(
               "select id,desc, Protein from topdata_Protein_19, FOODS_WR where NDB_No=id ");
}

void TestStatements::topRanking() {
    QFETCH(int, criterion);
    QFETCH(QString, statement);
    QCOMPARE(topListStatement(criterion), statement);
}

QTEST_APPLESS_MAIN(TestStatements)
#include "tst_statements.moc"
