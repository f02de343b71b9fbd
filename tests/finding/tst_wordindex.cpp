// Expanding stored descriptions through the word dictionary.
#include "finding/wordindex.h"

#include <QtTest>

class TestWordIndex : public QObject {
    Q_OBJECT
private slots:
    void expand_data();
    void expand();
};

void TestWordIndex::expand_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("a text without token is unchanged")
        << QStringLiteral("Butter, salted") << QStringLiteral("Butter, salted");
    QTest::newRow("one token gives its word, the rest unchanged")
        << QStringLiteral("Cheese, @CHD@ sharp") << QStringLiteral("Cheese, cheddar sharp");
    QTest::newRow("two adjacent tokens give two words with nothing between")
        << QStringLiteral("@CHD@@R@") << QStringLiteral("cheddarraw");
    QTest::newRow("an unknown token is dropped and its neighbours close up")
        << QStringLiteral("Egg,@XX@ whole") << QStringLiteral("Egg, whole");
    QTest::newRow("two delimiters in a row are a token of their own")
        << QStringLiteral("a@@b") << QStringLiteral("a<at>b");
    QTest::newRow("a double delimiter before a token is read first")
        << QStringLiteral("x@@@CHD@") << QStringLiteral("x<at>cheddar");
    QTest::newRow("an unclosed token at the end ends the text cleanly")
        << QStringLiteral("Cheese, @CH") << QStringLiteral("Cheese, ");
    QTest::newRow("a lone delimiter at the end ends the text cleanly")
        << QStringLiteral("Cheese@") << QStringLiteral("Cheese");
    QTest::newRow("token keys are case-sensitive")
        << QStringLiteral("@chd@!") << QStringLiteral("!");
    QTest::newRow("an empty text stays empty") << QStringLiteral("") << QStringLiteral("");
    QTest::newRow("non-ASCII letters pass through")
        << QStringLiteral("Crème, @CHD@ à") << QStringLiteral("Crème, cheddar à");
}

void TestWordIndex::expand() {
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    const WordIndex index{{QStringLiteral("@CHD@"), QStringLiteral("cheddar")},
                          {QStringLiteral("@R@"), QStringLiteral("raw")},
                          {QStringLiteral("@@"), QStringLiteral("<at>")}};
    QCOMPARE(expandDescription(stored, index), shown);
}

QTEST_APPLESS_MAIN(TestWordIndex)
#include "tst_wordindex.moc"
