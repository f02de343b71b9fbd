// The main window as the user sees it: start-up, pages, the finding pages' widgets, the details
// dialog, bookmarks and options, on a handheld-sized offscreen screen and a fixture database.
#include "db/sqlitedb.h"
#include "platform/config.h"
#include "tests/common/fixturedb.h"
#include "tests/common/modal.h"
#include "tests/common/windowfixture.h"
#include "ui/foodlist.h"
#include "ui/kalodetailsdialog.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStackedWidget>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

class TestWindow : public QObject {
    Q_OBJECT

    static QString reportText(KALODetailsDialog *d) {
        return d->findChild<QTextBrowser *>(QStringLiteral("reportBrowser"))->toPlainText();
    }
    static void clickHeader(FoodList *list, int column) {
        QHeaderView *header = list->horizontalHeader();
        QTest::mouseClick(
            header->viewport(), Qt::LeftButton, {},
            QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
    }
    static void press(KALODetailsDialog *d, const char *button) {
        QTest::mouseClick(d->findChild<QToolButton *>(QLatin1String(button)), Qt::LeftButton);
    }

private slots:
    void startUp_data() {
        QTest::addColumn<QByteArray>("file"); // "fixture", "none", or the file's bytes
        QTest::addColumn<QStringList>("damage");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QStringList>("browsed");
        const QStringList dairy{"Butter, salted", "Cheese, cheddar", "Egg, whole, raw"};
        QTest::newRow("a good database lists the first group without a box")
            << QByteArray("fixture") << QStringList() << "" << dairy;
        QTest::newRow("a missing database gives one box and empty pages")
            << QByteArray("none") << QStringList() << "File does not exist" << QStringList();
        QTest::newRow("a file that is no database gives one box")
            << QByteArray("just text\n") << QStringList() << "file is not a database"
            << QStringList();
        QTest::newRow("an empty file gives one box")
            << QByteArray("") << QStringList() << "no such table: FOODS_WR" << QStringList();
        QTest::newRow("a database without a table the program reads gives one box")
            << QByteArray("fixture") << QStringList{"drop table WORDS_WR"}
            << "no such table: WORDS_WR" << QStringList();
    }
    void startUp() {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, damage);
        WindowFixture f(damage, file == "fixture");
        if (file != "fixture" && file != "none") {
            QFile out(f.foodsPath());
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(file);
        }
        MessageBoxWatcher boxes;
        f.start();
        QFETCH(QString, box);
        QCOMPARE(boxes.count(), box.isEmpty() ? 0 : 1);
        if (!box.isEmpty()) {
            QCOMPARE(boxes.titles.first(), QStringLiteral("KALO"));
            QVERIFY2(boxes.texts.first().contains(box), qPrintable(boxes.texts.first()));
        }
        QCOMPARE(f.window->windowTitle(), QStringLiteral("KALO - Browse"));
        QCOMPARE(f.child<QStackedWidget>("pageStack")->count(), 5);
        QTEST(f.rows("browseList"), "browsed");
        f.showPage(2); // nothing to rank on a closed database, and no further box
        QCOMPARE(boxes.count(), box.isEmpty() ? 0 : 1);
    }

    void pages_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("caption");
        QTest::newRow("Search") << 1 << "KALO - Search";
        QTest::newRow("Top Foods, filled on the first visit") << 2 << "KALO - Top Foods";
        QTest::newRow("Bookmarks") << 3 << "KALO - Bookmarks";
        QTest::newRow("Options") << 4 << "KALO - Options";
        QTest::newRow("back to Browse") << 0 << "KALO - Browse";
    }
    void pages() {
        QFETCH(int, page);
        WindowFixture f;
        Settings settings;
        settings.bookmarkIds << "1009";
        settings.bookmarkDescs << "Cheese, cheddar";
        f.start(settings);
        f.showPage(page == 0 ? 1 : 0);
        f.showPage(page);
        QTEST(f.window->windowTitle(), "caption");
        QCOMPARE(f.child<QStackedWidget>("pageStack")->currentIndex(), page);
        QCOMPARE(f.rows("topList").size(), page == 2 ? 5 : 0);
        QCOMPARE(f.rows("bookmarkList").size(), page == 3 ? 1 : 0);
        QCOMPARE(f.child<QLabel>("aboutLabel")->text().contains("Release 14"), page == 4);
    }

    void findingWidgets() {
        WindowFixture f;
        MessageBoxWatcher boxes;
        f.start();
        WindowFixture::activate(f.child<QComboBox>("categoryCombo"), "Fats and Oils");
        QCOMPARE(f.rows("browseList"), QStringList{"Oil, olive"});

        f.showPage(1);
        f.search("cheddar");
        QCOMPARE(f.rows("searchList"), QStringList{"Cheese, cheddar"});
        WindowFixture::activate(f.child<QComboBox>("searchCategoryCombo"),
                                "Vegetables and Vegetable Products");
        QCOMPARE(f.rows("searchList"), QStringList{"Cheese, cheddar"}); // a group alone: no search
        f.search("ra"); // no completion from the history to "raw"
        QCOMPARE(f.rows("searchList"), (QStringList{"Carrots, raw", "Garlic, raw"}));
        QCOMPARE(f.child<QComboBox>("searchCombo")->itemText(0), QStringLiteral("ra"));

        f.showPage(2);
        WindowFixture::activate(f.child<QComboBox>("topCombo"), "Least saturated fat");
        auto *top = f.child<FoodList>("topList");
        QCOMPARE(top->text(0, 1), QStringLiteral("51.368")); // largest amount first
        QCOMPARE(boxes.count(), 0);

        // A statement failing now shows one box and keeps the list.
        QVERIFY(runStatements(f.foodsPath(), {"drop table FOODS_WR"}));
        f.showPage(1);
        f.search("oil");
        QCOMPARE(boxes.count(), 1); // one search per Return
        QVERIFY(boxes.texts.first().contains("no such table: FOODS_WR"));
        QCOMPARE(f.rows("searchList").size(), 2);
        QVERIFY(f.child<QComboBox>("searchCombo")->isEnabled());
    }

    // The Top 15 page per group and basis: the value column names the basis, the line below
    // how many foods of the group have a figure.
    void topChoices_data() {
        QTest::addColumn<QString>("criterion");
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("basis");
        QTest::addColumn<QString>("header");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QString>("coverage");
        const QString vegetables = "Vegetables and Vegetable Products";
        QTest::newRow("per 100 g over all groups, the cached ranking")
            << "Vitamine C"
            << "All Categories"
            << "per 100 g"
            << "100g" << QStringList{"31.2", "5.9", "0", "0", "0", "0"}
            << "6 of 6 foods have a figure";
        QTest::newRow("per 100 kcal within a group")
            << "Vitamine C" << vegetables << "per 100 kcal"
            << "100kcal" << QStringList{"20.94", "14.39"} << "2 of 2 foods have a figure";
    }
    void topChoices() {
        WindowFixture f;
        f.start();
        f.showPage(2);
        QFETCH(QString, criterion);
        WindowFixture::activate(f.child<QComboBox>("topCombo"), criterion);
        QFETCH(QString, group);
        QFETCH(QString, basis);
        if (group != "All Categories")
            WindowFixture::activate(f.child<QComboBox>("topGroupCombo"), group);
        WindowFixture::activate(f.child<QComboBox>("topBasisCombo"), basis);
        auto *top = f.child<FoodList>("topList");
        QTEST(top->model()->headerData(1, Qt::Horizontal).toString(), "header");
        QStringList shown;
        for (int i = 0; i < top->rowCount(); ++i)
            shown << top->text(i, 1);
        QFETCH(QStringList, values);
        QCOMPARE(shown, values);
        QTEST(f.child<QLabel>("topCoverageLabel")->text(), "coverage");
    }

    // The sort chosen with a header stays when the list is filled again; a search under Best
    // Match shows its own order, a header click still sorts by name.
    void listOrder_data() {
        QTest::addColumn<bool>("bestMatch");
        QTest::addColumn<QStringList>("found");
        QTest::addColumn<QStringList>("clicked");
        const QStringList byName{"Carrots, raw", "Egg, whole, raw", "Garlic, raw"};
        const QStringList byRank{"Egg, whole, raw", "Carrots, raw", "Garlic, raw"};
        const QStringList reversed{"Garlic, raw", "Egg, whole, raw", "Carrots, raw"};
        QTest::newRow("by name, the header's order kept") << false << byName << reversed;
        QTest::newRow("best match, then by name on a click") << true << byRank << byName;
    }
    void listOrder() {
        QFETCH(bool, bestMatch);
        QFETCH(QStringList, found);
        QFETCH(QStringList, clicked);
        WindowFixture f;
        Settings settings;
        settings.bestMatch = bestMatch;
        f.start(settings);
        f.showPage(1);
        f.search("egg raw");
        QCOMPARE(f.rows("searchList"), found);
        clickHeader(f.child<FoodList>("searchList"), 0);
        QCOMPARE(f.rows("searchList"), clicked);
        f.search("egg raw");
        QCOMPARE(f.rows("searchList"), bestMatch ? found : clicked);
    }

    // A list sorts values by their "%10.2lf" keys: numbers as numbers, text that is no number as
    // 0, equal keys in the order they came; clicking the header turns the order round.
    void valueKeys() {
        SQLiteDB db(":memory:", true);
        const ResultRows rows =
            db.exec("select 1, 'a', '9' union all select 2, 'b', '12' union all "
                    "select 3, 'c', 'abc' union all select 4, 'd', ''");
        FoodList list({"Description ", "100g"}, "valueList", nullptr);
        list.fill(rows, true, {});
        const auto order = [&list] {
            QString ids;
            for (int i = 0; i < list.rowCount(); ++i)
                ids += list.foodId(i);
            return ids;
        };
        QCOMPARE(order(), QStringLiteral("2134"));
        list.show();
        clickHeader(&list, 1);
        QCOMPARE(order(), QStringLiteral("3412"));
        list.fill(rows, true, {}); // refilled: the order chosen stays
        QCOMPARE(order(), QStringLiteral("3412"));
    }

    void detailsDialog() {
        WindowFixture f;
        f.start();
        bool checked = false;
        QVERIFY(f.openFood("browseList", "1009", [&](KALODetailsDialog *d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("Details (1009)"));
            QCOMPARE(d->size(), f.window->size());
            QVERIFY(reportText(d).contains("Cheese, cheddar"));
            QVERIFY(reportText(d).contains("531.960")); // 403 kcal in 132 g
            QCOMPARE(d->findChild<QLabel *>("weightLabel")->text(),
                     QStringLiteral("1 cup, diced  (132.0 g)"));
            press(d, "viewButton");
            QCOMPARE(d->windowTitle(), QStringLiteral("Detailed View"));
            QVERIFY(reportText(d).contains("Selenium"));
            press(d, "bookmarkButton");
            QCOMPARE(d->windowTitle(), QStringLiteral("Bookmark Added"));
            QTRY_COMPARE_WITH_TIMEOUT(d->windowTitle(), QStringLiteral("Details (1009)"), 3000);
            // The last serving is the custom weight: the stored amounts per 100 g.
            whenModalShown(
                [](QWidget *w) {
                    auto *menu = static_cast<QMenu *>(w);
                    QCOMPARE(menu->actions().size(), 3);
                    QAction *custom = menu->actions().last();
                    QTest::mouseClick(menu, Qt::LeftButton, {},
                                      menu->actionGeometry(custom).center());
                },
                "QMenu");
            press(d, "weightButton");
            QTRY_VERIFY(reportText(d).contains("403.000"));
            checked = true;
        }));
        QVERIFY(checked);
        QCOMPARE(f.window->userSettings().bookmarkIds, QStringList{"1009"});
        f.showPage(3);
        QCOMPARE(f.rows("bookmarkList"), QStringList{"Cheese, cheddar"});
        // Opened again, the dialog starts in the default view and the food is bookmarked.
        QVERIFY(f.openFood("bookmarkList", "1009", [&](KALODetailsDialog *d) {
            QVERIFY(!reportText(d).contains("Selenium"));
            press(d, "bookmarkButton");
            QCOMPARE(d->windowTitle(), QStringLiteral("Bookmark Removed"));
        }));
        QCOMPARE(f.rows("bookmarkList"), QStringList());
    }

    void clearBookmarks_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("left");
        QTest::newRow("No keeps them") << "No" << 2;
        QTest::newRow("Yes deletes them") << "Yes" << 0;
    }
    void clearBookmarks() {
        QFETCH(QString, answer);
        WindowFixture f;
        Settings settings;
        settings.bookmarkIds = QStringList{"1001", "1009"};
        settings.bookmarkDescs = QStringList{"Butter", "Cheese"};
        settings.searchHistory = QStringList{"egg"};
        f.start(settings);
        f.showPage(3);
        MessageBoxWatcher boxes(answer);
        QTest::mouseClick(f.child<QToolButton>("clearBookmarksButton"), Qt::LeftButton);
        QCOMPARE(boxes.texts, QStringList{"Delete all bookmarks ?"});
        QTEST(int(f.rows("bookmarkList").size()), "left");
        QTEST(int(f.window->userSettings().bookmarkIds.size()), "left");
        QCOMPARE(f.child<QToolButton>("clearBookmarksButton")->isEnabled(), answer == "No");
        QCOMPARE(f.window->userSettings().searchHistory, QStringList{"egg"});
    }

    void optionsAreCapturedAndSaved() {
        WindowFixture f;
        f.start();
        f.showPage(4);
        auto *weight = f.child<QLineEdit>("weightEdit");
        QCOMPARE(weight->text(), QStringLiteral("100.00"));
        weight->setText("-50");
        f.child<QComboBox>("viewSizeCombo")->setCurrentIndex(1);
        f.showPage(0);
        QCOMPARE(f.window->userSettings().customWeight, 50.0);
        QVERIFY(f.openFood("browseList", "1123", [](KALODetailsDialog *d) {
            QVERIFY(reportText(d).contains("Selenium")); // the expanded view by default
        }));
        f.showPage(4);
        weight->setText("12.345"); // saved without leaving the page
        f.stop();
        Config config(QStringLiteral("KALO"));
        config.setGroup(QStringLiteral("KALO"));
        QCOMPARE(config.readEntry("CustomWeight"), QStringLiteral("12.345"));
        QCOMPARE(config.readEntry("BasicView"), QStringLiteral("0"));
    }

    void processingWindow() {
        WindowFixture f;
        f.start();
        f.window->showProcessing();
        auto *label = qobject_cast<QLabel *>(QApplication::topLevelWidgets().value(0));
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("processing window"))
                label = qobject_cast<QLabel *>(w);
        QVERIFY(label && label->isVisible());
        QCOMPARE(label->geometry(), QRect(40, 130, 160, 60));
        f.window->hideProcessing();
        f.window->showProcessing();
        QCOMPARE(QApplication::topLevelWidgets().count(label), 1);
        f.window->hideProcessing();
        QVERIFY(!label->isVisible());
    }
};

KALO_WIDGET_TEST_MAIN(TestWindow)
#include "tst_window.moc"
