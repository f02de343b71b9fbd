// Browsing, search and the Top 15 list on the food database built from the USDA SR24 data.
#include "app/kalowindow.h"
#include "app/settings.h"
#include "db/sqlitedb.h"
#include "finding/foodlistitem.h"
#include "finding/wordindex.h"
#include "tests/common/fixturedb.h"
#include "tests/common/modal.h"

#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>
#include <memory>

class TestFindingReal : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void browsingAGroupListsEveryFoodOfIt();
    void cheddarFindsCheddarCheese();
    void mostCaloriesListsFatsAndOils();

private:
    template <typename T> T *child(const char *name) const {
        return window->findChild<T *>(QLatin1String(name));
    }

    QTemporaryDir dir;
    QString path;
    std::unique_ptr<MessageBoxWatcher> boxes;
    std::unique_ptr<KALOWindow> window;
    std::unique_ptr<SQLiteDB> db; // a second connection to check what the window shows
    WordIndex words;
};

void TestFindingReal::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    const QString real = realFoodsDatabase();
    if (real.isEmpty()) {
        if (qEnvironmentVariableIsSet("CI"))
            QFAIL("The food database was not built (pics/kalo/FOODS.db in the build tree)");
        QSKIP("The food database was not built; build the ALL target first");
    }
    // A copy: the start may write the ranking tables into it.
    path = prepareInstallDir(dir.path(), false);
    QVERIFY(QFile::copy(real, path));
    QFile(path).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    settings = Settings();
    boxes = std::make_unique<MessageBoxWatcher>();
    window = std::make_unique<KALOWindow>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QCOMPARE(boxes->count(), 0);

    db = std::make_unique<SQLiteDB>(path, false);
    QVERIFY(db->isOpen());
    const ResultRows rows = db->exec(QStringLiteral("select WID, TEXT from WORDS_WR"));
    QVERIFY(!db->hasError());
    for (int i = 0; i < rows.rowCount(); ++i)
        words.insert(rows.value(i, 0), rows.value(i, 1));
}

void TestFindingReal::cleanupTestCase() {
    window.reset();
    boxes.reset();
    db.reset();
}

void TestFindingReal::browsingAGroupListsEveryFoodOfIt() {
    auto *combo = child<QComboBox>("categoryCombo");
    const int index = combo->findText(QStringLiteral("Dairy and Egg Products"));
    QVERIFY(index >= 0);
    combo->setCurrentIndex(index == 0 ? 1 : index - 1);
    QTest::keyClick(combo, index == 0 ? Qt::Key_Up : Qt::Key_Down);
    QCOMPARE(combo->currentIndex(), index);

    const ResultRows expected = db->exec(
        QStringLiteral("select NDB_No, desc from FOODS_WR, FOODS_GROUP where FOODS_WR.FdGrp_Cd = "
                       "FOODS_GROUP.FdGrp_Cd and FdGrp_Desc = 'Dairy and Egg Products'"));
    QVERIFY(expected.rowCount() > 100);
    QHash<QString, QString> shownById;
    auto *list = child<QTreeWidget>("browseList");
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const auto *row = static_cast<const FoodListItem *>(list->topLevelItem(i));
        shownById.insert(row->foodId(), row->text(0));
        if (i > 0)
            QVERIFY(list->topLevelItem(i - 1)->text(0) <= row->text(0));
    }
    QCOMPARE(list->topLevelItemCount(), expected.rowCount());
    for (int i = 0; i < expected.rowCount(); ++i) {
        const QString id = expected.value(i, 0);
        QVERIFY2(shownById.contains(id), qPrintable(id));
        QCOMPARE(shownById.value(id), expandDescription(expected.value(i, 1), words));
        QVERIFY(!shownById.value(id).contains(QLatin1Char('@')));
    }
    QCOMPARE(boxes->count(), 0);
    QVERIFY(combo->isEnabled() && list->isEnabled());
}

void TestFindingReal::cheddarFindsCheddarCheese() {
    auto *searchCombo = child<QComboBox>("searchCombo");
    child<QComboBox>("searchCategoryCombo")->setCurrentIndex(0);
    searchCombo->setEditText(QStringLiteral("cheddar"));
    QTest::mouseClick(child<QPushButton>("searchButton"), Qt::LeftButton);
    auto *list = child<QTreeWidget>("searchList");
    QStringList shown;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        shown << list->topLevelItem(i)->text(0);
    QVERIFY2(shown.contains(QStringLiteral("Cheese, cheddar")), qPrintable(shown.join('\n')));
    for (const QString &text : shown)
        QVERIFY2(text.contains(QStringLiteral("cheddar"), Qt::CaseInsensitive), qPrintable(text));
    QCOMPARE(searchCombo->itemText(0), QStringLiteral("cheddar"));
    QCOMPARE(boxes->count(), 0);
}

void TestFindingReal::mostCaloriesListsFatsAndOils() {
    child<QTabBar>("tabBar")->setCurrentIndex(2);
    auto *combo = child<QComboBox>("topCombo");
    QCOMPARE(combo->itemText(2), QStringLiteral("Most calories"));
    combo->setCurrentIndex(3);
    QTest::keyClick(combo, Qt::Key_Up);
    QCOMPARE(combo->currentIndex(), 2);

    auto *list = child<QTreeWidget>("topList");
    QCOMPARE(list->topLevelItemCount(), 15);
    double previous = 1e9;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const auto *row = static_cast<const FoodListItem *>(list->topLevelItem(i));
        // Pure fats: about 884 kcal per 100 g for plant oils, up to 902 for animal fats.
        const double kcal = row->text(1).toDouble();
        QVERIFY2(kcal >= 880 && kcal <= 902, qPrintable(row->text(0) + ' ' + row->text(1)));
        QVERIFY(kcal <= previous);
        previous = kcal;
        const ResultRows group = db->exec(
            QStringLiteral("select FdGrp_Desc from FOODS_WR, FOODS_GROUP where NDB_No = %1 and "
                           "FOODS_WR.FdGrp_Cd = FOODS_GROUP.FdGrp_Cd")
                .arg(row->foodId().toLongLong()));
        QCOMPARE(group.value(0, 0), QStringLiteral("Fats and Oils"));
    }
    QCOMPARE(boxes->count(), 0);
    QVERIFY(combo->isEnabled());
}

QTEST_MAIN(TestFindingReal)
#include "tst_findingreal.moc"
