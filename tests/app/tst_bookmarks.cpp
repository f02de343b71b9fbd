// Tests of the bookmark list operations on the settings' two parallel lists.
#include "app/bookmarks.h"
#include "app/settings.h"

#include <QStandardPaths>
#include <QTest>

namespace {

void setLists(const QStringList &ids, const QStringList &descs) {
    settings.bookmarkIds = ids;
    settings.bookmarkDescs = descs;
}

} // namespace

class TestBookmarks : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { setLists({}, {}); }
    void addingAppendsAPairOnce();
    void numbersCompareExactly();
    void reAddingMovesToTheEnd();
    void theCapKeeps51Pairs();
    void equalDescriptionsAreIndependent();
    void removingAnAbsentNumberChangesNothing();
    void removingDropsEveryCopyOfTheNumber();
    void clearingEmptiesBothLists();
    void listedEntries_data();
    void listedEntries();
    void unevenListsNeverBreakAnAdd();
};

void TestBookmarks::addingAppendsAPairOnce() {
    QVERIFY(!isBookmarked(QStringLiteral("1009")));
    QVERIFY(addBookmarkEntry(QStringLiteral("1001"), QStringLiteral("Butter, salted")));
    QVERIFY(addBookmarkEntry(QStringLiteral("1009"), QStringLiteral("Cheese, cheddar")));
    QVERIFY(isBookmarked(QStringLiteral("1009")));
    QVERIFY(!addBookmarkEntry(QStringLiteral("1009"), QStringLiteral("Other text")));
    QCOMPARE(settings.bookmarkIds, QStringList({"1001", "1009"}));
    QCOMPARE(settings.bookmarkDescs, QStringList({"Butter, salted", "Cheese, cheddar"}));
}

void TestBookmarks::numbersCompareExactly() {
    setLists({"01009"}, {"Cheese"});
    QVERIFY(isBookmarked(QStringLiteral("01009")));
    QVERIFY(!isBookmarked(QStringLiteral("1009")));
    QVERIFY(!isBookmarked(QStringLiteral("")));
    QVERIFY(addBookmarkEntry(QStringLiteral("1009"), QStringLiteral("Cheese")));
    QCOMPARE(settings.bookmarkIds.size(), 2);
}

void TestBookmarks::reAddingMovesToTheEnd() {
    setLists({"1001", "1009", "11215"}, {"Butter", "Cheese", "Garlic"});
    QVERIFY(removeBookmarkEntry(QStringLiteral("1001")));
    QVERIFY(addBookmarkEntry(QStringLiteral("1001"), QStringLiteral("Butter, salted")));
    QCOMPARE(settings.bookmarkIds, QStringList({"1009", "11215", "1001"}));
    QCOMPARE(settings.bookmarkDescs, QStringList({"Cheese", "Garlic", "Butter, salted"}));
}

void TestBookmarks::theCapKeeps51Pairs() {
    for (int i = 0; i < 50; ++i)
        QVERIFY(addBookmarkEntry(QString::number(1000 + i), QStringLiteral("food %1").arg(i)));
    QCOMPARE(settings.bookmarkIds.size(), 50);
    QVERIFY(addBookmarkEntry(QStringLiteral("2000"), QStringLiteral("food 2000")));
    QCOMPARE(settings.bookmarkIds.size(), 51);
    QCOMPARE(settings.bookmarkIds.first(), QStringLiteral("1000"));

    QVERIFY(addBookmarkEntry(QStringLiteral("2001"), QStringLiteral("food 2001")));
    QCOMPARE(settings.bookmarkIds.size(), 51);
    QCOMPARE(settings.bookmarkDescs.size(), 51);
    QCOMPARE(settings.bookmarkIds.first(), QStringLiteral("1001"));
    QCOMPARE(settings.bookmarkDescs.first(), QStringLiteral("food 1"));
    QCOMPARE(settings.bookmarkIds.last(), QStringLiteral("2001"));
    QCOMPARE(settings.bookmarkDescs.last(), QStringLiteral("food 2001"));
    for (int i = 0; i < 49; ++i)
        QCOMPARE(settings.bookmarkDescs.at(i), QStringLiteral("food %1").arg(i + 1));

    // Longer lists from a hand-edited file keep their length on an add.
    QStringList ids, descs;
    for (int i = 0; i < 60; ++i) {
        ids << QString::number(i);
        descs << QString::number(i);
    }
    setLists(ids, descs);
    QVERIFY(addBookmarkEntry(QStringLiteral("100"), QStringLiteral("100")));
    QCOMPARE(settings.bookmarkIds.size(), 60);
    QCOMPARE(settings.bookmarkIds.first(), QStringLiteral("1"));
    QCOMPARE(settings.bookmarkDescs.first(), QStringLiteral("1"));
}

void TestBookmarks::equalDescriptionsAreIndependent() {
    QStringList ids, descs;
    for (int i = 0; i < 51; ++i) {
        ids << QString::number(100 + i);
        descs << (i < 2 ? QStringLiteral("Same text") : QString::number(i));
    }
    setLists(ids, descs);
    QVERIFY(removeBookmarkEntry(QStringLiteral("101")));
    QCOMPARE(settings.bookmarkDescs.first(), QStringLiteral("Same text"));
    QVERIFY(isBookmarked(QStringLiteral("100")));
    QCOMPARE(settings.bookmarkDescs.at(1), QStringLiteral("2"));

    setLists(ids, descs);
    QVERIFY(addBookmarkEntry(QStringLiteral("999"), QStringLiteral("Same text")));
    QCOMPARE(settings.bookmarkIds.first(), QStringLiteral("101"));
    QCOMPARE(settings.bookmarkDescs.first(), QStringLiteral("Same text"));
    QCOMPARE(settings.bookmarkDescs.count(QStringLiteral("Same text")), 2);
}

void TestBookmarks::removingAnAbsentNumberChangesNothing() {
    setLists({"1001", "1009"}, {"Butter", "Cheese"});
    QVERIFY(!removeBookmarkEntry(QStringLiteral("11215")));
    QVERIFY(!removeBookmarkEntry(QStringLiteral("")));
    QCOMPARE(settings.bookmarkIds, QStringList({"1001", "1009"}));
    QCOMPARE(settings.bookmarkDescs, QStringList({"Butter", "Cheese"}));
}

void TestBookmarks::removingDropsEveryCopyOfTheNumber() {
    // Only a hand-edited file holds a number twice; one removal leaves it unbookmarked.
    setLists({"1001", "1009", "1001"}, {"Butter", "Cheese", "Butter again"});
    QVERIFY(removeBookmarkEntry(QStringLiteral("1001")));
    QVERIFY(!isBookmarked(QStringLiteral("1001")));
    QCOMPARE(settings.bookmarkIds, QStringList({"1009"}));
    QCOMPARE(settings.bookmarkDescs, QStringList({"Cheese", "Butter again"}));
}

void TestBookmarks::clearingEmptiesBothLists() {
    setLists({"1001", "1009"}, {"Butter", "Cheese", "extra"});
    settings.searchHistory = QStringList{"apple"};
    clearBookmarkEntries();
    QVERIFY(settings.bookmarkIds.isEmpty());
    QVERIFY(settings.bookmarkDescs.isEmpty());
    QCOMPARE(settings.searchHistory, QStringList{"apple"});
}

void TestBookmarks::listedEntries_data() {
    QTest::addColumn<QStringList>("ids");
    QTest::addColumn<QStringList>("descs");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("equal lists pair by position")
        << QStringList{"1001", "1009"} << QStringList{"Butter", "Cheese"}
        << QStringList{"Butter", "Cheese"};
    QTest::newRow("numbers without a description are shown by number")
        << QStringList{"1001", "1009", "11215"} << QStringList{"Butter"}
        << QStringList{"Butter", "1009", "11215"};
    QTest::newRow("no descriptions at all")
        << QStringList{"1001"} << QStringList{} << QStringList{"1001"};
    QTest::newRow("surplus descriptions are not listed")
        << QStringList{"1001"} << QStringList{"Butter", "salted"} << QStringList{"Butter"};
    QTest::newRow("no numbers lists nothing")
        << QStringList{} << QStringList{"Butter"} << QStringList{};
}

void TestBookmarks::listedEntries() {
    QFETCH(QStringList, ids);
    QFETCH(QStringList, descs);
    QFETCH(QStringList, texts);
    setLists(ids, descs);
    const QList<BookmarkEntry> entries = bookmarkEntries();
    QCOMPARE(entries.size(), ids.size());
    for (int i = 0; i < entries.size(); ++i) {
        QCOMPARE(entries.at(i).id, ids.at(i));
        QCOMPARE(entries.at(i).text, texts.at(i));
    }
}

void TestBookmarks::unevenListsNeverBreakAnAdd() {
    QStringList ids;
    for (int i = 0; i < 51; ++i)
        ids << QString::number(i);
    setLists(ids, {});
    QVERIFY(addBookmarkEntry(QStringLiteral("100"), QStringLiteral("Butter")));
    QCOMPARE(settings.bookmarkIds.size(), 51);
    QCOMPARE(settings.bookmarkDescs, QStringList{"Butter"});
    QVERIFY(removeBookmarkEntry(QStringLiteral("5")));
    QCOMPARE(settings.bookmarkDescs, QStringList{"Butter"});
}

QTEST_APPLESS_MAIN(TestBookmarks)
#include "tst_bookmarks.moc"
