// Browsing, word search and the Top 15 page, driven through the real widgets of the main window
// on a small food database.
#include "app/kalowindow.h"
#include "app/settings.h"
#include "db/sqlitedb.h"
#include "finding/foodlistitem.h"
#include "tests/common/fixturedb.h"
#include "tests/common/modal.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>
#include <memory>

namespace {

QString food(int id, const char *desc, const char *group, const char *kcal = "NULL",
             const char *fat = "NULL") {
    return QStringLiteral("INSERT INTO FOODS_WR (NDB_No, \"desc\", FdGrp_Cd, Energ_Kcal, FA_Sat) "
                          "VALUES (%1, '%2', '%3', %4, %5)")
        .arg(id)
        .arg(QLatin1String(desc), QLatin1String(group), QLatin1String(kcal), QLatin1String(fat));
}

// Beside the common fixture: a group whose name holds an apostrophe, more tokens, descriptions
// with adjacent, unknown, empty and unclosed tokens, and two cached rankings.
QStringList extraData() {
    QStringList sql{
        QStringLiteral("INSERT INTO FOODS_GROUP VALUES ('0300', 'Baby''s Foods')"),
        QStringLiteral("INSERT INTO FOODS_GROUP VALUES ('0600', 'Soups, Sauces, and Gravies')"),
        QStringLiteral("INSERT INTO WORDS_WR VALUES ('@R@', 'raw')"),
        QStringLiteral("INSERT INTO WORDS_WR VALUES ('@WH@', 'whole')"),
        QStringLiteral("INSERT INTO WORDS_WR VALUES ('@@', 'and')"),
        QStringLiteral("INSERT INTO WORDS_WR VALUES ('@CB@', 'CAMPBELL''S')"),
        food(1201, "Milk, @WH@@R@", "0100", "9"),
        food(1202, "Yogurt, @NOPE@plain", "0100", "12"),
        food(1203, "Cream @@ sour", "0100", "'abc'"),
        food(1204, "Whey, @WH", "0100"),
        food(1205, "Spread, cheddar flavour", "0100"),
        food(3001, "Babyfood, apple", "0300"),
        food(6001, "Soup, @CB@, tomato", "0600"),
        food(6002, "Soup, O''BRIEN''S, onion", "0600"),
        // The cache counts as present, so the start leaves these two tables as they are.
        QStringLiteral("create table topdata_FA_Sat_0 ( id int PRIMARY_KEY )"),
        QStringLiteral("create table topdata_Energ_Kcal_2 ( id int PRIMARY_KEY )"),
    };
    for (const char *id : {"1001", "1009", "4053"})
        sql << QStringLiteral("insert into topdata_FA_Sat_0 values ('%1')").arg(QLatin1String(id));
    for (const char *id : {"1201", "1202", "1203", "4053", "1001", "11124", "11215"})
        sql << QStringLiteral("insert into topdata_Energ_Kcal_2 values ('%1')")
                   .arg(QLatin1String(id));
    return sql;
}

const QStringList dairy{"Butter, salted",  "Cheese, cheddar", "Cream and sour",
                        "Egg, whole, raw", "Milk, wholeraw",  "Spread, cheddar flavour",
                        "Whey, ",          "Yogurt, plain"};
const int allFoods = 14;

// One start of the program on its own copy of the database, with every error box answered.
struct Session {
    explicit Session(const QStringList &extra = extraData()) {
        path = prepareInstallDir(dir.path(), true, extra);
        boxes = std::make_unique<MessageBoxWatcher>();
        window = std::make_unique<KALOWindow>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    template <typename T> T *child(const char *name) const {
        return window->findChild<T *>(QLatin1String(name));
    }
    QComboBox *categoryCombo() const { return child<QComboBox>("categoryCombo"); }
    QComboBox *searchCategoryCombo() const { return child<QComboBox>("searchCategoryCombo"); }
    QComboBox *searchCombo() const { return child<QComboBox>("searchCombo"); }
    QComboBox *topCombo() const { return child<QComboBox>("topCombo"); }
    QPushButton *searchButton() const { return child<QPushButton>("searchButton"); }
    QTreeWidget *browseList() const { return child<QTreeWidget>("browseList"); }
    QTreeWidget *searchList() const { return child<QTreeWidget>("searchList"); }
    QTreeWidget *topList() const { return child<QTreeWidget>("topList"); }

    // Another program changes the file while the window has it open.
    void alter(const QString &sql) const { QVERIFY(runStatements(path, {sql})); }

    QTemporaryDir dir;
    QString path;
    std::unique_ptr<MessageBoxWatcher> boxes;
    std::unique_ptr<KALOWindow> window;
};

QStringList texts(const QTreeWidget *list, int column = 0) {
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        out << list->topLevelItem(i)->text(column);
    return out;
}

QStringList ids(const QTreeWidget *list) {
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        out << static_cast<const FoodListItem *>(list->topLevelItem(i))->foodId();
    return out;
}

// Chooses an entry with the keyboard, as a user does: one activation of exactly that entry.
void activate(QComboBox *combo, int index) {
    QVERIFY(combo->count() > 1);
    const bool fromBelow = index + 1 < combo->count();
    combo->setCurrentIndex(fromBelow ? index + 1 : index - 1);
    QTest::keyClick(combo, fromBelow ? Qt::Key_Up : Qt::Key_Down);
    QCOMPARE(combo->currentIndex(), index);
}

void activate(QComboBox *combo, const QString &text) {
    const int index = combo->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    activate(combo, index);
}

// Types the text into the search line and presses Return.
void typeSearch(const Session &s, const QString &text) {
    QLineEdit *edit = s.searchCombo()->lineEdit();
    edit->clear();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

// Sets the search text as it is (tabs and very long texts included) and clicks "Search:".
void clickSearch(const Session &s, const QString &text, const QString &category = QString()) {
    if (!category.isNull())
        s.searchCategoryCombo()->setCurrentIndex(s.searchCategoryCombo()->findText(category));
    s.searchCombo()->setEditText(text);
    QTest::mouseClick(s.searchButton(), Qt::LeftButton);
}

void verifyIdle(const Session &s) {
    for (QWidget *w : std::initializer_list<QWidget *>{
             s.categoryCombo(), s.browseList(), s.searchButton(), s.searchCombo(),
             s.searchCategoryCombo(), s.searchList(), s.topCombo(), s.topList()})
        QVERIFY2(w->isEnabled(), qPrintable(w->objectName()));
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("processing window"))
            QVERIFY(!w->isVisible());
}

QStringList tableNames(const QString &path) {
    SQLiteDB db(path, false);
    const ResultRows rows =
        db.exec(QStringLiteral("select name || ':' || (select count(*) from sqlite_master) from "
                               "sqlite_master where type='table' order by name"));
    QStringList names;
    for (int i = 0; i < rows.rowCount(); ++i)
        names << rows.value(i, 0);
    const ResultRows foods = db.exec(QStringLiteral("select count(*) from FOODS_WR"));
    names << foods.value(0, 0);
    return names;
}

} // namespace

class TestFindingWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void combosHoldGroupsAndCriteria();
    void emptyGroupTableStillOffersCriteria();
    void startListsFirstGroupWithExpandedDescriptions();
    void browsingAGroupTwiceListsItTwice();
    void groupNameWithApostrophe();
    void unknownGroupNameGivesEmptyList();
    void failingBrowseStatementKeepsList_data();
    void failingBrowseStatementKeepsList();

    void historyRules_data();
    void historyRules();
    void historyIgnoresCompletion();
    void searchWords_data();
    void searchWords();
    void searchWithinGroup();
    void separatorsOnlyOverAllGroupsListsEveryFood();
    void separatorsOnlyWithinGroupIsAnError();
    void inputCannotRunAnotherStatement_data();
    void inputCannotRunAnotherStatement();
    void failingSearchKeepsList();
    void failingGroupLookUpSearchesAllGroups();
    void failingWordIsLeftOut();
    void wordsThatAllFailSearchNothing();

    void topPageShowsFirstCriterionOnFirstVisit();
    void topListOrdersByAmount();
    void missingRankingKeepsTopList();
    void emptyTopComboShowsNothing();

private:
    // One start shared by the data rows of one test function that only reads, which saves a
    // start per row. Its box watcher would answer the boxes of other starts: it lives no longer.
    Session &reader();
    std::unique_ptr<Session> shared;
    QByteArray sharedFor;
};

Session &TestFindingWindow::reader() {
    if (!shared || sharedFor != QTest::currentTestFunction()) {
        shared.reset();
        shared = std::make_unique<Session>();
        sharedFor = QTest::currentTestFunction();
    }
    return *shared;
}

void TestFindingWindow::cleanupTestCase() {
    shared.reset();
}

void TestFindingWindow::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
}

void TestFindingWindow::init() {
    settings = Settings();
    if (sharedFor != QTest::currentTestFunction())
        shared.reset();
}

void TestFindingWindow::combosHoldGroupsAndCriteria() {
    Session s;
    const QStringList groups{"Baby's Foods", "Dairy and Egg Products", "Fats and Oils",
                             "Soups, Sauces, and Gravies", "Vegetables and Vegetable Products"};
    QStringList shown;
    for (int i = 0; i < s.categoryCombo()->count(); ++i)
        shown << s.categoryCombo()->itemText(i);
    QCOMPARE(shown, groups);
    QCOMPARE(s.categoryCombo()->currentIndex(), 0);

    QStringList search;
    for (int i = 0; i < s.searchCategoryCombo()->count(); ++i)
        search << s.searchCategoryCombo()->itemText(i);
    QCOMPARE(search, QStringList{"All Categories"} + groups);
    QCOMPARE(s.searchCategoryCombo()->currentText(), QStringLiteral("All Categories"));

    QCOMPARE(s.topCombo()->count(), 20);
    QCOMPARE(s.topCombo()->itemText(0), QStringLiteral("Most saturated fat"));
    QCOMPARE(s.topCombo()->itemText(2), QStringLiteral("Most calories"));
    QCOMPARE(s.topCombo()->itemText(19), QStringLiteral("Protein"));
    QCOMPARE(s.boxes->count(), 0);
}

void TestFindingWindow::emptyGroupTableStillOffersCriteria() {
    Session s(extraData() << QStringLiteral("DELETE FROM FOODS_GROUP"));
    QCOMPARE(s.categoryCombo()->count(), 0);
    QCOMPARE(s.searchCategoryCombo()->count(), 1);
    QCOMPARE(s.searchCategoryCombo()->itemText(0), QStringLiteral("All Categories"));
    QCOMPARE(s.topCombo()->count(), 20);
    QCOMPARE(s.browseList()->topLevelItemCount(), 0);
    QCOMPARE(s.boxes->count(), 0);
    verifyIdle(s);
}

void TestFindingWindow::startListsFirstGroupWithExpandedDescriptions() {
    // Without the apostrophe group the first group in name order is the dairy group.
    QStringList extra = extraData();
    extra.removeFirst();
    Session s(extra);
    QCOMPARE(s.categoryCombo()->currentText(), QStringLiteral("Dairy and Egg Products"));
    QCOMPARE(texts(s.browseList()), dairy);
    QCOMPARE(ids(s.browseList()).first(), QStringLiteral("1001"));
    QCOMPARE(s.boxes->count(), 0);
    verifyIdle(s);
}

void TestFindingWindow::browsingAGroupTwiceListsItTwice() {
    Session s;
    activate(s.categoryCombo(), QStringLiteral("Vegetables and Vegetable Products"));
    QCOMPARE(texts(s.browseList()), (QStringList{"Carrots, raw", "Garlic, raw"}));
    activate(s.categoryCombo(), QStringLiteral("Dairy and Egg Products"));
    QCOMPARE(texts(s.browseList()), dairy);
    activate(s.categoryCombo(), QStringLiteral("Dairy and Egg Products"));
    QCOMPARE(texts(s.browseList()), dairy);
    QCOMPARE(s.boxes->count(), 0);
    verifyIdle(s);
}

void TestFindingWindow::groupNameWithApostrophe() {
    Session s;
    // The first group in name order is listed at start, without an error.
    QCOMPARE(s.categoryCombo()->currentText(), QStringLiteral("Baby's Foods"));
    QCOMPARE(texts(s.browseList()), QStringList{"Babyfood, apple"});
    activate(s.categoryCombo(), QStringLiteral("Fats and Oils"));
    activate(s.categoryCombo(), QStringLiteral("Baby's Foods"));
    QCOMPARE(ids(s.browseList()), QStringList{"3001"});
    QCOMPARE(s.boxes->count(), 0);
}

void TestFindingWindow::unknownGroupNameGivesEmptyList() {
    Session s;
    QVERIFY(s.browseList()->topLevelItemCount() > 0);
    QVERIFY(QMetaObject::invokeMethod(s.window.get(), "populateDataWindow",
                                      Q_ARG(QString, QStringLiteral("No such group"))));
    QCOMPARE(s.browseList()->topLevelItemCount(), 0);
    QCOMPARE(s.boxes->count(), 0);
    verifyIdle(s);
}

void TestFindingWindow::failingBrowseStatementKeepsList_data() {
    QTest::addColumn<QString>("table");
    QTest::newRow("the group look-up fails") << QStringLiteral("FOODS_GROUP");
    QTest::newRow("the food statement fails") << QStringLiteral("FOODS_WR");
}

void TestFindingWindow::failingBrowseStatementKeepsList() {
    QFETCH(QString, table);
    Session s;
    activate(s.categoryCombo(), QStringLiteral("Dairy and Egg Products"));
    s.alter(QStringLiteral("ALTER TABLE %1 RENAME TO gone").arg(table));
    activate(s.categoryCombo(), QStringLiteral("Fats and Oils"));
    QCOMPARE(s.boxes->count(), 1);
    QCOMPARE(s.boxes->titles.first(), QStringLiteral("KALO"));
    QVERIFY2(s.boxes->texts.first().contains(QStringLiteral("no such table")),
             qPrintable(s.boxes->texts.first()));
    QCOMPARE(texts(s.browseList()), dairy);
    verifyIdle(s);
}

void TestFindingWindow::historyRules_data() {
    QTest::addColumn<QStringList>("history");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("after");
    QStringList seventeen;
    for (int i = 0; i < 17; ++i)
        seventeen << QStringLiteral("h%1").arg(i);
    QTest::newRow("a text met in another case replaces that entry")
        << QStringList{"one", "two", "three", "apple", "four"} << QStringLiteral("Apple")
        << QStringList{"Apple", "one", "two", "three", "four"};
    QTest::newRow("only the first equal entry is removed")
        << QStringList{"egg", "EGG"} << QStringLiteral("Egg") << QStringList{"Egg", "EGG"};
    QTest::newRow("seventeen entries and a new text stay seventeen")
        << seventeen << QStringLiteral("fresh") << QStringList{"fresh"} + seventeen.mid(0, 16);
    QTest::newRow("seventeen entries and a repeated text stay seventeen")
        << seventeen << QStringLiteral("H5")
        << QStringList{"H5"} + seventeen.mid(0, 5) + seventeen.mid(6);
    QTest::newRow("sixteen entries and a new text become seventeen")
        << seventeen.mid(0, 16) << QStringLiteral("fresh")
        << QStringList{"fresh"} + seventeen.mid(0, 16);
    QTest::newRow("an empty text is recorded too")
        << QStringList{"egg"} << QString() << QStringList{"", "egg"};
}

void TestFindingWindow::historyRules() {
    QFETCH(QStringList, history);
    QFETCH(QString, text);
    QFETCH(QStringList, after);
    Session &s = reader();
    s.searchCombo()->clear();
    s.searchCombo()->addItems(history);
    const int boxes = s.boxes->count();
    const QStringList before = ids(s.searchList());
    if (text.isEmpty())
        clickSearch(s, text);
    else
        typeSearch(s, text);
    QStringList shown;
    for (int i = 0; i < s.searchCombo()->count(); ++i)
        shown << s.searchCombo()->itemText(i);
    QCOMPARE(shown, after);
    QCOMPARE(s.searchCombo()->currentIndex(), 0);
    QCOMPARE(s.searchCombo()->currentText(), text);
    if (text.isEmpty())
        QCOMPARE(ids(s.searchList()), before); // an empty text searches nothing
    QCOMPARE(s.boxes->count(), boxes);
    verifyIdle(s);
}

void TestFindingWindow::historyIgnoresCompletion() {
    settings.searchHistory = QStringList{"apple"};
    Session s;
    typeSearch(s, QStringLiteral("ap"));
    QCOMPARE(s.searchCombo()->count(), 2);
    QCOMPARE(s.searchCombo()->itemText(0), QStringLiteral("ap"));
    QCOMPARE(s.searchCombo()->itemText(1), QStringLiteral("apple"));
    QCOMPARE(texts(s.searchList()), QStringList{"Babyfood, apple"});
}

void TestFindingWindow::searchWords_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("found");
    QTest::newRow("a comma separates words")
        << QStringLiteral("cheese,egg") << QStringList{"Cheese, cheddar", "Egg, whole, raw"};
    QTest::newRow("a plus sign separates words")
        << QStringLiteral("cheese+egg") << QStringList{"Cheese, cheddar", "Egg, whole, raw"};
    QTest::newRow("parentheses and a bar separate words")
        << QStringLiteral("(cheese)|egg") << QStringList{"Cheese, cheddar", "Egg, whole, raw"};
    QTest::newRow("a semicolon is part of a word") << QStringLiteral("cheese;egg") << QStringList{};
    QTest::newRow("a hyphen is part of a word") << QStringLiteral("cheese-egg") << QStringList{};
    QTest::newRow("a tab is part of a word") << QStringLiteral("cheese\tegg") << QStringList{};
    QTest::newRow("plain words match without regard to case")
        << QStringLiteral("CARROTS garlic") << QStringList{"Carrots, raw", "Garlic, raw"};
    QTest::newRow("a dictionary word matches only its token")
        << QStringLiteral("cheddar") << QStringList{"Cheese, cheddar"};
    QTest::newRow("a dictionary word does not match its letters as plain text")
        << QStringLiteral("Raw") << QStringList{"Milk, wholeraw"};
    QTest::newRow("a dictionary word with an apostrophe finds its token")
        << QStringLiteral("campbell's") << QStringList{"Soup, CAMPBELL'S, tomato"};
    QTest::newRow("a plain word with apostrophes finds its text")
        << QStringLiteral("o'brien's") << QStringList{"Soup, O'BRIEN'S, onion"};
    QTest::newRow("the LIKE wildcards keep their meaning")
        << QStringLiteral("c_rr%s") << QStringList{"Carrots, raw"};
    QTest::newRow("a search without match empties the list")
        << QStringLiteral("pineapple") << QStringList{};
}

void TestFindingWindow::searchWords() {
    QFETCH(QString, text);
    QFETCH(QStringList, found);
    Session &s = reader();
    const int boxes = s.boxes->count();
    clickSearch(s, QStringLiteral("soup"), QStringLiteral("All Categories"));
    QCOMPARE(s.searchList()->topLevelItemCount(), 2); // the list holds rows before the search
    clickSearch(s, text);
    QCOMPARE(texts(s.searchList()), found);
    QCOMPARE(s.boxes->count(), boxes);
    verifyIdle(s);
}

void TestFindingWindow::searchWithinGroup() {
    Session s;
    clickSearch(s, QStringLiteral("raw apple"), QStringLiteral("Baby's Foods"));
    QCOMPARE(texts(s.searchList()), QStringList{"Babyfood, apple"});
    clickSearch(s, QStringLiteral("cheese egg garlic"), QStringLiteral("Dairy and Egg Products"));
    QCOMPARE(texts(s.searchList()), (QStringList{"Cheese, cheddar", "Egg, whole, raw"}));
    clickSearch(s, QStringLiteral("cheese egg garlic"), QStringLiteral("All Categories"));
    QCOMPARE(texts(s.searchList()),
             (QStringList{"Cheese, cheddar", "Egg, whole, raw", "Garlic, raw"}));
    QCOMPARE(s.boxes->count(), 0);
    verifyIdle(s);
}

void TestFindingWindow::separatorsOnlyOverAllGroupsListsEveryFood() {
    Session s;
    clickSearch(s, QStringLiteral(" ,+ ()|"), QStringLiteral("All Categories"));
    QCOMPARE(s.searchList()->topLevelItemCount(), allFoods);
    QCOMPARE(s.boxes->count(), 0);
    verifyIdle(s);
}

void TestFindingWindow::separatorsOnlyWithinGroupIsAnError() {
    Session s;
    clickSearch(s, QStringLiteral("carrots"));
    clickSearch(s, QStringLiteral(" , "), QStringLiteral("Fats and Oils"));
    QCOMPARE(s.boxes->count(), 1);
    QCOMPARE(texts(s.searchList()), QStringList{"Carrots, raw"});
    verifyIdle(s);
}

void TestFindingWindow::inputCannotRunAnotherStatement_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("asGroup");
    QTest::newRow("a search word closing the quote and dropping a table")
        << QStringLiteral("x';DROP/**/TABLE/**/FOODS_WR;--") << false;
    QTest::newRow("a search word making the condition always true")
        << QStringLiteral("x'/**/or/**/'1'='1") << false;
    QTest::newRow("a group name closing the quote and dropping a table")
        << QStringLiteral("x'; DROP TABLE FOODS_WR; --") << true;
    QTest::newRow("a group name making the condition always true")
        << QStringLiteral("x' or '1'='1") << true;
}

void TestFindingWindow::inputCannotRunAnotherStatement() {
    QFETCH(QString, text);
    QFETCH(bool, asGroup);
    Session s;
    const QStringList before = tableNames(s.path);
    if (asGroup) {
        QVERIFY(
            QMetaObject::invokeMethod(s.window.get(), "populateDataWindow", Q_ARG(QString, text)));
        QCOMPARE(s.browseList()->topLevelItemCount(), 0);
        QVERIFY(QMetaObject::invokeMethod(s.window.get(), "populateSearchDataWindow",
                                          Q_ARG(QString, QStringLiteral("raw")),
                                          Q_ARG(QString, text)));
    } else {
        clickSearch(s, text);
    }
    QCOMPARE(s.searchList()->topLevelItemCount(), 0);
    QCOMPARE(s.boxes->count(), 0);
    QCOMPARE(tableNames(s.path), before);
    verifyIdle(s);
}

void TestFindingWindow::failingSearchKeepsList() {
    Session s;
    clickSearch(s, QStringLiteral("carrots"));
    s.alter(QStringLiteral("ALTER TABLE FOODS_WR RENAME TO gone"));
    clickSearch(s, QStringLiteral("garlic"));
    QCOMPARE(s.boxes->count(), 1);
    QVERIFY(s.boxes->texts.first().contains(QStringLiteral("no such table: FOODS_WR")));
    QCOMPARE(texts(s.searchList()), QStringList{"Carrots, raw"});
    verifyIdle(s);
}

void TestFindingWindow::failingGroupLookUpSearchesAllGroups() {
    Session s;
    s.alter(QStringLiteral("ALTER TABLE FOODS_GROUP RENAME TO gone"));
    clickSearch(s, QStringLiteral("carrots"), QStringLiteral("Fats and Oils"));
    QCOMPARE(s.boxes->count(), 1);
    QVERIFY(s.boxes->texts.first().contains(QStringLiteral("no such table: FOODS_GROUP")));
    QCOMPARE(texts(s.searchList()), QStringList{"Carrots, raw"});
    verifyIdle(s);
}

void TestFindingWindow::failingWordIsLeftOut() {
    // The library refuses a LIKE pattern this long (the leading wildcard makes it compare every
    // dictionary row), so the dictionary statement of that word fails. The search line takes no
    // text this long: the text goes to the search itself.
    Session s;
    const QString text =
        QLatin1Char('%') + QString(50001, QLatin1Char('x')) + QStringLiteral(" garlic");
    QVERIFY(QMetaObject::invokeMethod(s.window.get(), "populateSearchDataWindow",
                                      Q_ARG(QString, text),
                                      Q_ARG(QString, QStringLiteral("All Categories"))));
    QCOMPARE(s.boxes->count(), 1);
    QVERIFY2(s.boxes->texts.first().contains(QStringLiteral("too complex")),
             qPrintable(s.boxes->texts.first()));
    QCOMPARE(texts(s.searchList()), QStringList{"Garlic, raw"});
    verifyIdle(s);
}

void TestFindingWindow::wordsThatAllFailSearchNothing() {
    Session s;
    clickSearch(s, QStringLiteral("carrots"));
    s.alter(QStringLiteral("ALTER TABLE WORDS_WR RENAME TO gone"));
    clickSearch(s, QStringLiteral("egg,garlic"));
    // One box per failed word; no statement without a condition lists every food.
    QCOMPARE(s.boxes->count(), 2);
    QVERIFY(s.boxes->texts.first().contains(QStringLiteral("no such table: WORDS_WR")));
    QCOMPARE(texts(s.searchList()), QStringList{"Carrots, raw"});
    verifyIdle(s);
}

void TestFindingWindow::topPageShowsFirstCriterionOnFirstVisit() {
    Session s;
    QCOMPARE(s.topList()->topLevelItemCount(), 0);
    s.child<QTabBar>("tabBar")->setCurrentIndex(2);
    QCOMPARE(ids(s.topList()), (QStringList{"1001", "1009", "4053"}));
    QCOMPARE(texts(s.topList(), 1), (QStringList{"51.368", "21.092", "13.808"}));
    QCOMPARE(texts(s.topList()).at(1), QStringLiteral("Cheese, cheddar"));
    QCOMPARE(s.boxes->count(), 0);
    verifyIdle(s);
}

void TestFindingWindow::topListOrdersByAmount() {
    Session s;
    s.child<QTabBar>("tabBar")->setCurrentIndex(2);
    activate(s.topCombo(), QStringLiteral("Most calories"));
    // By number, largest first: 9 below 12, a text that is no number and an empty amount last.
    const QStringList values = texts(s.topList(), 1);
    QCOMPARE(values.mid(0, 5), (QStringList{"884", "717", "149", "41", "12"}));
    QCOMPARE(values.at(5), QStringLiteral("9"));
    QCOMPARE(values.at(6), QStringLiteral("abc"));
    QCOMPARE(texts(s.topList()).at(0), QStringLiteral("Oil, olive"));
    QCOMPARE(s.topList()->topLevelItem(0)->textAlignment(1) & Qt::AlignRight, int(Qt::AlignRight));
    // Choosing the same criterion again refills the list rather than adding to it.
    activate(s.topCombo(), QStringLiteral("Most calories"));
    QCOMPARE(s.topList()->topLevelItemCount(), 7);
    QCOMPARE(s.boxes->count(), 0);
    verifyIdle(s);
}

void TestFindingWindow::missingRankingKeepsTopList() {
    Session s;
    s.child<QTabBar>("tabBar")->setCurrentIndex(2);
    QCOMPARE(s.topList()->topLevelItemCount(), 3);
    activate(s.topCombo(), QStringLiteral("Least saturated fat")); // its table is missing
    QCOMPARE(s.boxes->count(), 1);
    QVERIFY(s.boxes->texts.first().contains(QStringLiteral("topdata_FA_Sat_1")));
    QCOMPARE(ids(s.topList()), (QStringList{"1001", "1009", "4053"}));
    verifyIdle(s);
}

void TestFindingWindow::emptyTopComboShowsNothing() {
    // Without a group table the combos stay empty; the start reports the failed group queries.
    Session s(extraData() << QStringLiteral("DROP TABLE FOODS_GROUP"));
    QCOMPARE(s.topCombo()->count(), 0);
    const int atStart = s.boxes->count();
    QVERIFY(atStart >= 1);
    s.child<QTabBar>("tabBar")->setCurrentIndex(2);
    QVERIFY(QMetaObject::invokeMethod(s.window.get(), "populateTopDataWindow",
                                      Q_ARG(QString, QString())));
    QCOMPARE(s.boxes->count(), atStart);
    QCOMPARE(s.topList()->topLevelItemCount(), 0);
    verifyIdle(s);
}

QTEST_MAIN(TestFindingWindow)
#include "tst_findingwindow.moc"
