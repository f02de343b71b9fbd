// Food list rows: the hidden food number and the sort keys, numeric for the value column.
#include "finding/foodlistitem.h"

#include <QTreeWidget>
#include <QtTest>

class TestFoodListItem : public QObject {
    Q_OBJECT
private slots:
    void valueKey_data();
    void valueKey();
    void rowKeepsNumberAndTexts();
    void valueColumnSortsByNumber();
    void descriptionColumnSortsAsText();
    void changedValueSortsByItsNewNumber();
};

void TestFoodListItem::valueKey_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("key");
    QTest::newRow("a decimal gets two decimals, right-aligned to ten")
        << QStringLiteral("12.5") << QStringLiteral("     12.50");
    QTest::newRow("an integer") << QStringLiteral("3") << QStringLiteral("      3.00");
    QTest::newRow("rounded to two decimals")
        << QStringLiteral("884.005001") << QStringLiteral("    884.01");
    QTest::newRow("a text that is no number is 0")
        << QStringLiteral("abc") << QStringLiteral("      0.00");
    QTest::newRow("an empty text is 0") << QStringLiteral("") << QStringLiteral("      0.00");
    QTest::newRow("a null text is 0") << QString() << QStringLiteral("      0.00");
    QTest::newRow("the leading number of a text counts")
        << QStringLiteral("12abc") << QStringLiteral("     12.00");
    QTest::newRow("the decimal point is a point whatever the locale")
        << QStringLiteral("0.5") << QStringLiteral("      0.50");
    QTest::newRow("ten million no longer fits ten characters")
        << QStringLiteral("10000000") << QStringLiteral("10000000.00");
}

void TestFoodListItem::valueKey() {
    QFETCH(QString, value);
    QFETCH(QString, key);
    QCOMPARE(FoodListItem::sortKey(value, 1), key);
    const FoodListItem row(nullptr, QStringLiteral("1"), QStringLiteral("d"), value);
    QCOMPARE(row.key(1), key);
    // Other columns sort by their text as it is.
    QCOMPARE(FoodListItem::sortKey(value, 0), value);
}

void TestFoodListItem::rowKeepsNumberAndTexts() {
    QTreeWidget list;
    list.setColumnCount(2);
    auto *row = new FoodListItem(&list, QStringLiteral("01009"), QStringLiteral("Cheese, cheddar"),
                                 QStringLiteral("403"));
    QCOMPARE(list.topLevelItemCount(), 1);
    QCOMPARE(row->foodId(), QStringLiteral("01009"));
    QCOMPARE(row->text(0), QStringLiteral("Cheese, cheddar"));
    QCOMPARE(row->text(1), QStringLiteral("403"));
    QCOMPARE(row->key(0), QStringLiteral("Cheese, cheddar"));
    const FoodListItem bare(nullptr, QStringLiteral("7"), QStringLiteral("x"), QString());
    QVERIFY(bare.text(1).isNull() || bare.text(1).isEmpty());
}

static QStringList columnTexts(const QTreeWidget &list, int column) {
    QStringList texts;
    for (int i = 0; i < list.topLevelItemCount(); ++i)
        texts << list.topLevelItem(i)->text(column);
    return texts;
}

void TestFoodListItem::valueColumnSortsByNumber() {
    QTreeWidget list;
    list.setColumnCount(2);
    const QStringList values{"9", "12", "abc", "884", "", "0.5", "100.25"};
    for (const QString &v : values)
        new FoodListItem(&list, v, QStringLiteral("food ") + v, v);
    list.setSortingEnabled(true);
    list.sortByColumn(1, Qt::DescendingOrder);
    // 9 sorts below 12 although it is the greater text; non-numbers count as 0.
    const QStringList sorted = columnTexts(list, 1);
    QCOMPARE(sorted.mid(0, 5), (QStringList{"884", "100.25", "12", "9", "0.5"}));
    QCOMPARE(QSet<QString>(sorted.begin() + 5, sorted.end()), (QSet<QString>{"abc", ""}));
    list.sortByColumn(1, Qt::AscendingOrder);
    QCOMPARE(columnTexts(list, 1).mid(2), (QStringList{"0.5", "9", "12", "100.25", "884"}));
}

void TestFoodListItem::descriptionColumnSortsAsText() {
    QTreeWidget list;
    for (const char *d : {"b", "a", "B", "10", "9"})
        new FoodListItem(&list, QString(), QLatin1String(d), QString());
    list.setSortingEnabled(true);
    list.sortByColumn(0, Qt::AscendingOrder);
    QCOMPARE(columnTexts(list, 0), (QStringList{"10", "9", "B", "a", "b"}));
}

void TestFoodListItem::changedValueSortsByItsNewNumber() {
    QTreeWidget list;
    list.setColumnCount(2);
    auto *first = new FoodListItem(&list, "1", "one", "5");
    new FoodListItem(&list, "2", "two", "7");
    first->setText(1, QStringLiteral("70"));
    QCOMPARE(first->key(1), QStringLiteral("     70.00"));
    list.setSortingEnabled(true);
    list.sortByColumn(1, Qt::DescendingOrder);
    QCOMPARE(list.topLevelItem(0), first);
}

QTEST_MAIN(TestFoodListItem)
#include "tst_foodlistitem.moc"
