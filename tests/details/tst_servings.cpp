// Tests of the serving list, its menu texts and the reading of stored numbers.
#include "details/servings.h"

#include <QTest>
#include <limits>

class TestServings : public QObject {
    Q_OBJECT

private slots:
    void servingList_data();
    void servingList();
    void menuText_data();
    void menuText();
    void storedValues_data();
    void storedValues();
};

void TestServings::servingList_data() {
    QTest::addColumn<QString>("weight1");
    QTest::addColumn<QString>("name1");
    QTest::addColumn<QString>("weight2");
    QTest::addColumn<QString>("name2");
    QTest::addColumn<double>("custom");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QList<double>>("weights");

    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("both servings, then the custom weight")
        << "132"
        << "1 cup, diced"
        << "244"
        << "1 cup, melted" << 100.0 << QStringList{"1 cup, diced", "1 cup, melted", "Custom"}
        << QList<double>{132, 244, 100};
    QTest::newRow("no servings leaves only the custom weight")
        << QString() << QString() << QString() << QString() << 100.0 << QStringList{"Custom"}
        << QList<double>{100};
    QTest::newRow("only the second serving comes first")
        << ""
        << ""
        << "61"
        << "1 medium" << 50.0 << QStringList{"1 medium", "Custom"} << QList<double>{61, 50};
    QTest::newRow("a weight of zero or no number is left out")
        << "0"
        << "none"
        << "abc"
        << "nothing" << 100.0 << QStringList{"Custom"} << QList<double>{100};
    QTest::newRow("a weight with an empty name is listed")
        << "28.35"
        << "" << QString() << QString() << 100.0 << QStringList{"", "Custom"}
        << QList<double>{28.35, 100};
    QTest::newRow("an infinite custom weight counts as 100 g")
        << QString() << QString() << QString() << QString() << inf << QStringList{"Custom"}
        << QList<double>{100};
    QTest::newRow("a custom weight that is no number counts as 100 g")
        << QString() << QString() << QString() << QString() << nan << QStringList{"Custom"}
        << QList<double>{100};
}

void TestServings::servingList() {
    QFETCH(QString, weight1);
    QFETCH(QString, name1);
    QFETCH(QString, weight2);
    QFETCH(QString, name2);
    QFETCH(double, custom);
    QFETCH(QStringList, names);
    QFETCH(QList<double>, weights);
    const ServingList list = buildServings(weight1, name1, weight2, name2, custom);
    QCOMPARE(list.names, names);
    QCOMPARE(list.weights, weights);
}

void TestServings::menuText_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("grams");
    QTest::addColumn<QString>("text");
    QTest::newRow("the default custom weight") << "Custom" << 100.0 << "Custom  (100.0 g)";
    QTest::newRow("one decimal, rounded") << "1 oz" << 28.35 << "1 oz  (28.4 g)";
    QTest::newRow("an empty name") << "" << 5.0 << "  (5.0 g)";
    QTest::newRow("a name outside ASCII")
        << QStringLiteral("1 cr\u00e8me") << 14.2 << QStringLiteral("1 cr\u00e8me  (14.2 g)");
    QTest::newRow("a name with a percent sign") << "1 %1 cup" << 10.0 << "1 %1 cup  (10.0 g)";
}

void TestServings::menuText() {
    QFETCH(QString, name);
    QFETCH(double, grams);
    QFETCH(QString, text);
    QCOMPARE(servingMenuText(name, grams), text);
}

void TestServings::storedValues_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("null") << QString() << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("the leading number of a text") << "12abc" << 12.0;
    QTest::newRow("no number") << "abc" << 0.0;
    QTest::newRow("a comma ends the number") << "2,5" << 2.0;
}

void TestServings::storedValues() {
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(parseStoredValue(text), value);
}

QTEST_APPLESS_MAIN(TestServings)
#include "tst_servings.moc"
