// The main window as the user sees it: start-up, pages, the finding pages' widgets, the details
// dialog, bookmarks and options, on a handheld-sized offscreen screen and a fixture database.
#include "db/foodsdatabase.h"
#include "db/sqlitedb.h"
#include "finding/topcache.h"
#include "platform/config.h"
#include "tests/common/fixturedb.h"
#include "tests/common/modal.h"
#include "tests/common/windowfixture.h"
#include "ui/bookmarkspage.h"
#include "ui/foodlist.h"
#include "ui/kalodetailsdialog.h"
#include "ui/pagecontext.h"
#include "ui/reportcolours.h"

#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

#include <atomic>
#include <thread>

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
    // The colour of a button's picture (the fixture's bookmark pictures are red and green).
    static QColor iconColour(KALODetailsDialog *d, const char *button) {
        const QIcon icon = d->findChild<QToolButton *>(QLatin1String(button))->icon();
        return icon.pixmap(16, 16).toImage().pixelColor(8, 8);
    }
    // A value as KALO.conf holds it now.
    static QString stored(const char *key) {
        Config config(QStringLiteral("KALO"));
        config.setGroup(QStringLiteral("KALO"));
        return config.readEntry(QLatin1String(key));
    }
    static QString viewOf(KALODetailsDialog *d) {
        const QString text = reportText(d);
        if (text.contains("Nutrition Facts"))
            return "Label";
        return text.contains("Leucine") ? "Full" : text.contains("Selenium") ? "Detailed" : "Basic";
    }
    // WCAG contrast ratio of two colours (1 to 21), gamma taken as 2.2.
    static double contrast(const QColor &a, const QColor &b) {
        const auto luminance = [](const QColor &c) {
            return 0.2126 * std::pow(c.redF(), 2.2) + 0.7152 * std::pow(c.greenF(), 2.2) +
                   0.0722 * std::pow(c.blueF(), 2.2);
        };
        const double la = luminance(a), lb = luminance(b);
        return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
    }

private slots:
    void startUp_data() {
        // "fixture", "locked" (for half a second), "read-only", "none", or the file's bytes
        QTest::addColumn<QByteArray>("file");
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
        QTest::newRow("a database without the word table says so once and still lists foods")
            << QByteArray("fixture") << QStringList{"drop table WORDS_WR"}
            << "lacks the word table WORDS_WR"
            << QStringList{"Butter, salted", "Cheese, ", "Egg, whole, raw"};
        QTest::newRow("a database without two columns names them once and still lists foods")
            << QByteArray("fixture")
            << QStringList{"drop index FOODS_WR_rank", "alter table FOODS_WR drop column Vit_E",
                           "alter table FOODS_WR drop column GmWt_Desc2"}
            << "the columns Vit_E, GmWt_Desc2 of FOODS_WR" << dairy;
        QTest::newRow("a read-only database without rankings says so once")
            << QByteArray("read-only") << QStringList() << "Top 15 rankings are missing" << dairy;
        QTest::newRow("a database locked for half a second at start lists the first group")
            << QByteArray("locked") << QStringList() << "" << dairy;
    }
    void startUp() {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, damage);
        const bool fixture = QByteArrayList{"fixture", "locked", "read-only"}.contains(file);
        WindowFixture f(damage, fixture);
        QFile::remove(Config::userFilePath("KALO"));
        if (!fixture && file != "none") {
            QVERIFY(writeFile(f.foodsPath(), file));
        }
        if (file == "read-only") {
            FoodsDatabase foods;
            QVERIFY(foods.open(f.foodsPath()));
            dropTopCache(foods);
            foods.connection().close();
            QFile header(f.foodsPath()); // a write version above 2 makes the file read-only
            QVERIFY(header.open(QIODevice::ReadWrite) && header.seek(18) && header.putChar(3));
        }
        std::atomic<bool> locked{file != "locked"};
        std::thread holder([&] { // another program writing for half a second
            if (locked)
                return;
            SQLiteDB other(f.foodsPath(), false);
            other.exec("begin exclusive");
            locked = true;
            QThread::msleep(500);
        }); // the connection closes, which unlocks
        while (!locked)
            QThread::yieldCurrentThread();
        MessageBoxWatcher boxes;
        f.start();
        holder.join();
        QFETCH(QString, box);
        QCOMPARE(boxes.count(), box.isEmpty() ? 0 : 1);
        if (!box.isEmpty()) {
            QCOMPARE(boxes.titles.first(), QStringLiteral("KALO"));
            QVERIFY2(boxes.texts.first().contains(box), qPrintable(boxes.texts.first()));
        }
        QCOMPARE(f.window->windowTitle(), QStringLiteral("KALO - Browse"));
        // The one installed beside the data, once the window has painted.
        QTRY_VERIFY(!f.window->windowIcon().isNull());
        QTEST(f.rows("browseList"), "browsed");
        f.showPage(2); // nothing to rank on a closed or read-only database, and no further box
        const bool browsing = !f.rows("browseList").isEmpty();
        QCOMPARE(f.rows("topList").size(), browsing && file != "read-only" ? 5 : 0);
        if (browsing) {
            f.showPage(1);
            f.search("raw");
            QCOMPARE(f.rows("searchList"),
                     (QStringList{"Carrots, raw", "Egg, whole, raw", "Garlic, raw"}));
            QVERIFY(f.openFood("searchList", "1123"));
            QTRY_COMPARE(stored("SItems"), QStringLiteral("raw"));
        }
        QCOMPARE(boxes.count(), box.isEmpty() ? 0 : 1);
    }

    void pagesFollowTheFirstPaint_data() {
        QTest::addColumn<int>("tab");
        QTest::newRow("the pages come a moment after the window has painted") << -1;
        QTest::newRow("a tab chosen before that builds them at once") << 3;
    }
    void pagesFollowTheFirstPaint() {
        QFETCH(int, tab);
        WindowFixture f;
        QTest::ignoreMessage(QtDebugMsg, "resizing");
        KALOWindow window{Settings()};
        window.resize(240, 320);
        const auto list = [&window](const char *name) {
            return window.findChild<FoodList *>(QLatin1String(name));
        };
        QVERIFY(list("browseList") && !list("searchList"));
        if (tab < 0) {
            window.show();
            QTRY_VERIFY(list("searchList") && list("topList"));
        } else {
            window.findChild<QTabBar *>(QStringLiteral("tabBar"))->setCurrentIndex(tab);
            QCOMPARE(window.windowTitle(), QStringLiteral("KALO - Bookmarks"));
            QVERIFY(list("bookmarkList") && list("bookmarkList")->isVisibleTo(&window));
        }
        // The groups loaded at start reach the pages built later, and the window still fits a
        // handheld screen.
        QVERIFY(window.findChild<QComboBox *>(QStringLiteral("searchCategoryCombo"))->count() > 1);
        QVERIFY2(window.minimumSizeHint().height() <= 320,
                 qPrintable(QString::number(window.minimumSizeHint().height())));
    }

    void findingWidgets() {
        WindowFixture f;
        MessageBoxWatcher boxes;
        f.start();
        WindowFixture::activate(f.child<QComboBox>("categoryCombo"), "Fats and Oils");
        QCOMPARE(f.rows("browseList"), QStringList{"Oil, olive"});

        f.showPage(1);
        QCOMPARE(f.window->windowTitle(), QStringLiteral("KALO - Search"));
        f.search("cheddar");
        QCOMPARE(f.rows("searchList"), QStringList{"Cheese, cheddar"});
        WindowFixture::activate(f.child<QComboBox>("searchCategoryCombo"),
                                "Vegetables and Vegetable Products");
        QCOMPARE(f.rows("searchList"), QStringList{"Cheese, cheddar"}); // a group alone: no search
        f.search("ra"); // no completion from the history to "raw"
        QCOMPARE(f.rows("searchList"), (QStringList{"Carrots, raw", "Garlic, raw"}));
        QCOMPARE(f.child<QComboBox>("searchCombo")->itemText(0), QStringLiteral("ra"));

        f.showPage(2);
        QCOMPARE(f.window->windowTitle(), QStringLiteral("KALO - Top Foods"));
        WindowFixture::activate(f.child<QComboBox>("topCombo"), "Least saturated fat");
        auto *top = f.child<FoodList>("topList");
        QCOMPARE(top->text(0, 1), QStringLiteral("51.368")); // largest amount first
        // Within a group, per 100 kcal: the value column names the basis, the line below says how
        // many foods of the group have a figure.
        WindowFixture::activate(f.child<QComboBox>("topCombo"), "Vitamine C");
        WindowFixture::activate(f.child<QComboBox>("topGroupCombo"),
                                "Vegetables and Vegetable Products");
        WindowFixture::activate(f.child<QComboBox>("topBasisCombo"), "per 100 kcal");
        QCOMPARE(top->model()->headerData(1, Qt::Horizontal).toString(), "100kcal");
        QCOMPARE(top->rowCount(), 2);
        QCOMPARE(top->text(0, 1) + ' ' + top->text(1, 1), QStringLiteral("20.94 14.39"));
        QCOMPARE(f.child<QLabel>("topCoverageLabel")->text(), "2 of 2 foods have a figure");
        QCOMPARE(boxes.count(), 0);

        // A statement failing now shows one box and keeps the list.
        QVERIFY(runStatements(f.foodsPath(), {"drop table FOODS_WR"}));
        f.showPage(1);
        f.search("oil");
        QCOMPARE(boxes.count(), 1); // one search per Return
        QVERIFY(boxes.texts.first().contains("no such table: FOODS_WR"));
        QCOMPARE(f.rows("searchList").size(), 2);
        QVERIFY(f.child<QComboBox>("searchCombo")->isEnabled());
        QVERIFY(runStatements(f.foodsPath(), {"drop table FOODS_GROUP"})); // no group found
        f.showPage(0);
        WindowFixture::activate(f.child<QComboBox>("categoryCombo"), "Dairy and Egg Products");
        QCOMPARE(boxes.count(), 2);
        QVERIFY(f.child<QComboBox>("categoryCombo")->isEnabled());
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
        Settings settings;
        settings.customWeight = qInf(); // counts as 100 g
        f.start(settings);
        bool checked = false;
        QVERIFY(f.openFood("browseList", "1009", [&](KALODetailsDialog *d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("Details (1009)"));
            QCOMPARE(d->size(), f.window->size());
            QVERIFY(reportText(d).contains("Cheese, cheddar"));
            QVERIFY(reportText(d).contains("531.960")); // 403 kcal in 132 g
            QCOMPARE(d->findChild<QLabel *>("weightLabel")->text(),
                     QStringLiteral("1 cup, diced  (132.0 g)"));
            // Both servings, then the custom weight; the second chosen: 244 g.
            QStringList entries;
            whenModalShown(
                [&entries](QWidget *w) {
                    auto *menu = static_cast<QMenu *>(w);
                    for (QAction *entry : menu->actions())
                        entries << entry->text();
                    QTest::mouseClick(menu, Qt::LeftButton, {},
                                      menu->actionGeometry(menu->actions().value(1)).center());
                },
                "QMenu");
            press(d, "weightButton");
            QCOMPARE(entries.value(2), QStringLiteral("Custom  (100.0 g)"));
            QTRY_VERIFY(reportText(d).contains("983.320"));
            press(d, "viewButton");
            QVERIFY(reportText(d).contains("Selenium"));
            QCOMPARE(iconColour(d, "bookmarkButton"), QColor(Qt::red)); // "add"
            press(d, "bookmarkButton");
            QCOMPARE(d->windowTitle(), QStringLiteral("Bookmark Added"));
            QCOMPARE(iconColour(d, "bookmarkButton"), QColor(Qt::green));
            QCOMPARE(stored("BID"), QStringLiteral("1009")); // a kill now would lose nothing
            QTRY_COMPARE_WITH_TIMEOUT(d->windowTitle(), QStringLiteral("Details (1009)"), 3000);
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

    // The view button's round of views; on a dark palette every text of the report stays
    // legible on every shade; Copy takes the whole report as text, or the selection as it is.
    void reportViews_data() {
        QTest::addColumn<bool>("record"); // the database has the whole USDA record
        QTest::addColumn<int>("defaultView");
        QTest::addColumn<QStringList>("views"); // shown first, then after each press
        QTest::addColumn<QColor>("alternate");  // of a dark palette; invalid: the light one
        QTest::newRow("without the nutrient tables the label follows the detailed view")
            << false << 0 << QStringList{"Basic", "Detailed", "Label", "Basic"} << QColor();
        QTest::newRow("a full default falls back to detailed without the tables")
            << false << 2 << QStringList{"Detailed", "Label", "Basic", "Detailed"} << QColor();
        QTest::newRow("a full default opens the full view, on a dark theme with its own shade")
            << true << 2 << QStringList{"Full", "Label", "Basic", "Detailed", "Full"}
            << QColor("#3a3a3a");
        QTest::newRow("a dark theme whose second shade is light")
            << true << 2 << QStringList{"Full", "Label"} << QColor("#e0e0e0");
    }
    void reportViews() {
        QFETCH(bool, record);
        QFETCH(int, defaultView);
        QFETCH(QStringList, views);
        QFETCH(QColor, alternate);
        const QPalette light = QApplication::palette();
        QVERIFY(reportColours(light).text.isEmpty()); // the report as it always was
        QPalette dark = light;
        dark.setColor(QPalette::AlternateBase, alternate);
        for (const auto role : {QPalette::Window, QPalette::Base})
            dark.setColor(role, QColor("#232323"));
        for (const auto role : {QPalette::WindowText, QPalette::Text})
            dark.setColor(role, QColor("#f0f0f0"));
        QApplication::setPalette(alternate.isValid() ? dark : light);
        WindowFixture f(record ? fullRecordStatements() << "PRAGMA user_version = 24"
                               : QStringList());
        Settings settings;
        settings.basicView = defaultView == 0;
        settings.fullView = defaultView == 2;
        settings.showDailyValue = record;
        f.start(settings);
        double worst = 21;
        QVERIFY(f.openFood("browseList", "1009", [&](KALODetailsDialog *d) {
            QCOMPARE(viewOf(d), views.first());
            auto *browser = d->findChild<QTextBrowser *>("reportBrowser");
            // Every text colour against every shade, the viewer's own text colour included.
            QStringList texts{browser->palette().color(QPalette::Text).name()}, shades;
            static const QRegularExpression colour("((?<![-\\w])color:|bgcolor=\")(#[0-9a-f]{6})");
            for (auto it = colour.globalMatch(browser->toHtml()); it.hasNext();) {
                const auto m = it.next();
                (m.captured(1).startsWith("bg") ? shades : texts) << m.captured(2);
            }
            QVERIFY(shades.size() > 20 || !alternate.isValid());
            for (const QString &text : texts)
                for (const QString &shade : shades)
                    worst = qMin(worst, contrast(QColor(text), QColor(shade)));
            for (int i = 1; i < views.size(); ++i) {
                press(d, "viewButton");
                QCOMPARE(viewOf(d), views.at(i));
                QCOMPARE(d->windowTitle(), views.at(i) + " View");
                if (record && views.at(i) == "Basic") {
                    press(d, "copyButton");
                    QCOMPARE(d->windowTitle(), QStringLiteral("Selection Copied"));
                    const QString copied = QGuiApplication::clipboard()->text();
                    QVERIFY2(
                        copied.startsWith("Cheese, cheddar\nCategory: Dairy and Egg Products\n"
                                          "Food 1009, USDA SR 24\nServing: 1 cup, diced, 132 g\n"),
                        qPrintable(copied));
                    QVERIFY(copied.contains("\nCholesterol\tmg\t138.600\t46%\n"));
                    browser->selectAll();
                    press(d, "copyButton"); // a selection is copied as it is
                    QVERIFY(!QGuiApplication::clipboard()->text().contains("USDA SR"));
                }
            }
        }));
        QApplication::setPalette(light);
        QVERIFY2(worst >= 4.5 || !alternate.isValid(), qPrintable(QString::number(worst)));
    }

    // The real cheddar's 1 oz: its label through the view button's round, and the shown view as
    // Export… and Print write it.
    void reportOutput_data() {
        QTest::addColumn<int>("presses");      // of the view button, from the basic view
        QTest::addColumn<int>("output");       // a ReportFormat; 3 printed, 4 into a directory
        QTest::addColumn<QString>("expected"); // in the file or the box; a PDF's pages
        QTest::newRow("the label's lines as CSV")
            << 3 << 0 << "Calories,110,,\r\nTotal Fat,9,g,12\r\n";
        QTest::newRow("the full view as a UTF-8 page in the light colours, naming its serving")
            << 2 << 1 << "<meta charset=\"utf-8\">|bgcolor=#e8e8e8|<hr>Serving: 1 oz, 28.35 g<br>";
        QTest::newRow("the label as a PDF of one page") << 3 << 2 << "pages: 1.";
        QTest::newRow("the full view printed to a PDF file, over two pages")
            << 2 << 3 << "pages: 2.";
        QTest::newRow("a file that cannot be written gives a box and leaves nothing")
            << 3 << 4 << "Filename refers to a directory";
    }
    void reportOutput() {
        REAL_FOODS_DATABASE(foods);
        QFETCH(int, presses);
        QFETCH(int, output);
        QFETCH(QString, expected);
        WindowFixture f;
        f.start(Settings(), foods);
        f.showPage(1);
        f.search("cheddar");
        QDir dir(f.dir.path());
        QVERIFY(dir.mkdir("taken"));
        const QStringList before = dir.entryList();
        const QString path = dir.filePath(output == 4 ? "taken" : "out");
        MessageBoxWatcher boxes;
        QVERIFY(f.openFood("searchList", "1009", [&](KALODetailsDialog *d) {
            emit d->valueChanged(3); // 1 oz, the fourth of cheddar's servings
            for (int i = 0; i < presses; ++i)
                press(d, "viewButton");
            for (const char *line : {"Calories\n110\n", "Total Fat 9g\n12%", "Calcium 200mg\n15%"})
                QVERIFY2(presses < 3 || reportText(d).contains(line), line);
            QPrinter printer;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
            QCOMPARE(output == 3 ? d->printTo(printer)
                                 : d->exportTo(path, ReportFormat(output % 3)),
                     output < 4);
        }));
        const QByteArray written = fileContents(path);
        const QString seen = output == 4 ? boxes.texts.value(0)
                             : output > 1
                                 ? QStringLiteral("pages: %1.").arg(written.count("/Type /Page\n"))
                                 : QString::fromUtf8(written);
        for (const QString &part : expected.split('|'))
            QVERIFY2(seen.contains(part), qPrintable(seen));
        QCOMPARE(boxes.titles, output == 4 ? QStringList{"KALO"} : QStringList());
        QVERIFY(output < 4 || dir.entryList() == before);
    }

    // Every list leaves whole, header first, in its shown order: Export… (Ctrl+E) as CSV, Ctrl+C
    // as tab-separated text.
    void listOutput_data() {
        QTest::addColumn<QString>("search");   // on the Search page; empty: the Top 15 list
        QTest::addColumn<int>("action");       // 0 Ctrl+E, 1 Ctrl+C
        QTest::addColumn<QString>("expected"); // the suggested name|the file, the clipboard, a box
        QTest::newRow("a search as RFC 4180 CSV, its quotes doubled and its line break kept")
            << "cake" << 0
            << "Search - cake.csv|NDB_No,Description\r\n99001,\"Cake, \"\"angel\"\"\nsliced\"\r\n";
        QTest::newRow("the Top 15 list with its value column as shown")
            << "" << 0
            << "Top 15 - Most saturated fat.csv|NDB_No,Description,100g\r\n1001,\"Butter, salted\","
               "51.368\r\n1009,\"Cheese, cheddar\",21.092\r\n";
        QTest::newRow("a list still being read is written whole, in its order")
            << "filler" << 0
            << "Search - filler.csv|NDB_No,Description\r\n200000,Filler 0\r\n200001,Filler 1\r\n";
        QTest::newRow("Ctrl+C copies the header and every row, tab-separated")
            << "raw" << 1
            << "NDB_No\tDescription\n11124\tCarrots, raw\n1123\tEgg, whole, raw\n11215\tGarlic, "
               "raw\n";
        QTest::newRow("above 100,000 rows Ctrl+C copies nothing and says to export instead")
            << "filler" << 1 << "more than 100,000 rows, too many to copy: Export…";
    }
    void listOutput() {
        QFETCH(QString, search);
        QFETCH(int, action);
        QFETCH(QString, expected);
        QStringList extra{"INSERT INTO FOODS_WR (NDB_No, desc, FdGrp_Cd) VALUES (99001, 'Cake, "
                          "\"angel\"' || char(10) || 'sliced', '0100')"};
        if (search == "filler")
            extra << "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < "
                     "100000) INSERT INTO FOODS_WR (NDB_No, desc, FdGrp_Cd) SELECT 200000 + i, "
                     "'Filler ' || i, '0100' FROM n";
        WindowFixture f(extra);
        MessageBoxWatcher boxes;
        f.start();
        f.showPage(search.isEmpty() ? 2 : 1);
        if (!search.isEmpty())
            f.search(search);
        auto *list = f.child<FoodList>(search.isEmpty() ? "topList" : "searchList");
        const QString path = f.dir.filePath("list.csv");
        QGuiApplication::clipboard()->setText("before");
        QSignalSpy finished(list, &FoodList::exportFinished);
        QString suggested;
        list->setFocus();
        if (action == 0)
            whenModalShown(
                [&](QWidget *w) {
                    suggested = static_cast<QFileDialog *>(w)->selectedFiles().value(0);
                    static_cast<QFileDialog *>(w)->selectFile(path);
                    static_cast<QDialog *>(w)->accept(); // as Save does
                },
                "QFileDialog");
        QTest::keyClick(list, action == 0 ? Qt::Key_E : Qt::Key_C, Qt::ControlModifier);
        QTRY_COMPARE(finished.count(), 1 - action);
        const QString seen = boxes.count() ? boxes.texts.first()
                             : action      ? QGuiApplication::clipboard()->text()
                                      : QFileInfo(suggested).fileName() + '|' + fileContents(path);
        QVERIFY2(boxes.count() ? seen.contains(expected) : seen.startsWith(expected),
                 qPrintable(seen.left(500)));
        if (action == 0) // every row, those still to come when the export began too
            QCOMPARE(fileContents(path).count("\r\n"), list->rowCount() + 1);
        // A list too long to copy leaves the clipboard as it was.
        QVERIFY(!boxes.count() || (boxes.titles == QStringList{"KALO"} &&
                                   QGuiApplication::clipboard()->text() == "before"));
    }

    // A bookmark of a food this database lacks says so, and goes and comes back in its pair.
    void foodNotInTheDatabase() {
        WindowFixture f;
        Settings settings;
        settings.bookmarkIds << "99999";
        settings.bookmarkDescs << "Gone food";
        f.start(settings);
        f.showPage(3);
        QVERIFY(f.openFood(
            "bookmarkList", "99999",
            [&](KALODetailsDialog *d) { // by Return
                QCOMPARE(d->windowTitle(), QStringLiteral("Details (99999)"));
                QCOMPARE(reportText(d), QStringLiteral("No data for food 99999 in this database."));
                press(d, "bookmarkButton");
                QCOMPARE(f.window->userSettings().bookmarkIds, QStringList());
                press(d, "bookmarkButton"); // back, paired with its description
            },
            Qt::Key_Return));
        QCOMPARE(f.window->userSettings().bookmarkDescs, QStringList{"Gone food"});
    }

    void clearBookmarks_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("left");
        QTest::newRow("No keeps them") << "No" << 2;
        QTest::newRow("Yes deletes them") << "Yes" << 0;
        QTest::newRow("Escape keeps them") << "Escape" << 2;
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
        QCOMPARE(f.window->windowTitle(), QStringLiteral("KALO - Bookmarks"));
        MessageBoxWatcher boxes(answer);
        QTest::mouseClick(f.child<QToolButton>("clearBookmarksButton"), Qt::LeftButton);
        QCOMPARE(boxes.texts, QStringList{"Delete all bookmarks ?"});
        QTEST(int(f.rows("bookmarkList").size()), "left");
        QTEST(int(f.window->userSettings().bookmarkIds.size()), "left");
        QTEST(int(f.window->userSettings().bookmarkDescs.size()), "left");
        QCOMPARE(f.child<QToolButton>("clearBookmarksButton")->isEnabled(), answer != "Yes");
        QCOMPARE(f.window->userSettings().searchHistory, QStringList{"egg"});
    }

    void bookmarkPage_data() {
        QTest::addColumn<QStringList>("selected"); // made current, then Ctrl+clicked
        QTest::addColumn<QString>("action");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("Delete removes the current bookmark")
            << QStringList{"Cheese"} << "Delete" << QStringList{"11215", "1001"};
        QTest::newRow("Remove Bookmark removes every selected one, and two can be compared")
            << QStringList{"Garlic", "Butter"} << "Remove Bookmark" << QStringList{"1009"};
        QTest::newRow("Remove Bookmark of the context menu removes the current one")
            << QStringList{"Butter"} << "Remove Bookmark" << QStringList{"11215", "1009"};
    }
    void bookmarkPage() {
        QFETCH(QStringList, selected);
        QFETCH(QString, action);
        WindowFixture f;
        Settings settings;
        settings.bookmarkIds = QStringList{"11215", "1009", "1001"};
        settings.bookmarkDescs = QStringList{"Garlic", "Cheese", "Butter"};
        QFile::remove(Config::userFilePath("KALO"));
        f.start(settings);
        f.showPage(3);
        auto *list = f.child<FoodList>("bookmarkList");
        const auto indexOf = [list](const QString &text) {
            return list->model()->match(list->model()->index(0, 0), Qt::DisplayRole, text).value(0);
        };
        list->setFocus();
        list->setCurrentIndex(indexOf(selected.first()));
        for (const QString &food : selected.mid(1))
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                              list->visualRect(indexOf(food)).center());
        QSignalSpy compared(f.child<BookmarksPage>("bookmarkPage"),
                            &BookmarksPage::compareRequested);
        QCOMPARE(f.child<QToolButton>("compareButton")->isEnabled(), selected.size() == 2);
        QString shown; // the caption and the table, which no column leaves cut off
        if (selected.size() == 2)
            whenModalShown(
                [&](QWidget *w) {
                    auto *browser = w->findChild<QTextBrowser *>("compareBrowser");
                    const bool fits =
                        browser->document()->size().width() <= browser->viewport()->width();
                    shown =
                        w->windowTitle() + (fits ? "\n" : " too wide\n") + browser->toPlainText();
                    QTest::keyClick(w, Qt::Key_Escape);
                },
                "CompareDialog");
        QTest::mouseClick(f.child<QToolButton>("compareButton"), Qt::LeftButton);
        QVERIFY2(selected.size() < 2 || shown.startsWith("Compare\nAmounts in 100 g"),
                 qPrintable(shown));
        QVERIFY(selected.size() < 2 || shown.contains("Saturated Fat\ng\n51.368\n--"));
        // Enabled with two selected, which it hands on in list order.
        QCOMPARE(compared.value(0),
                 (selected.size() == 2 ? QVariantList{"1001", "11215"} : QVariantList()));
        if (action == "Delete")
            QTest::keyClick(list, Qt::Key_Delete);
        else if (QAction *entry = list->actions().value(0); entry->text() == action)
            entry->trigger(); // the context menu shows the list's actions
        QFETCH(QStringList, left);
        QCOMPARE(stored("BID"), left.join('|')); // written at once
    }

    // The processing window: one label, made once, shown and hidden again.
    void processingWindow() {
        WindowFixture f;
        f.start();
        const auto labels = [] {
            QWidgetList found = QApplication::topLevelWidgets();
            found.removeIf([](QWidget *w) { return w->objectName() != "processing window"; });
            return found;
        };
        f.window->showProcessing();
        f.window->hideProcessing();
        f.window->showProcessing();
        QCOMPARE(labels().size(), 1);
        QVERIFY(labels().first()->isVisible());
        f.window->hideProcessing();
        QVERIFY(!labels().first()->isVisible());
    }

    // Find by Nutrients from the Top Foods page: rows added, typed and removed, the list and its
    // count line following each change, a food opened; reopened by its key after a restart as left.
    void findByNutrients() {
        WindowFixture f;
        MessageBoxWatcher boxes;
        QFile::remove(Config::userFilePath("KALO"));
        f.start();
        f.showPage(2);
        QTest::mouseClick(f.child<QPushButton>("findByNutrientsButton"), Qt::LeftButton);
        auto *count = f.child<QLabel>("finderCount");
        QCOMPARE(f.rows("finderResults").size(), 0); // no amount yet: no condition
        QCOMPARE(count->text(), QStringLiteral("No condition yet: type an amount."));
        WindowFixture::activate(f.child<QComboBox>("conditionNutrient1"), "Protein");
        QTest::keyClicks(f.child<QLineEdit>("conditionAmount1"), "1");
        QTRY_COMPARE(f.rows("finderResults"), // by energy, highest first
                     (QStringList{"Cheese, cheddar", "Garlic, raw", "Egg, whole, raw"}));
        QTest::mouseClick(f.child<QToolButton>("addCondition"), Qt::LeftButton);
        WindowFixture::activate(f.child<QComboBox>("conditionNutrient2"), "Saturated Fat");
        WindowFixture::activate(f.child<QComboBox>("conditionBound2"), "at most");
        QTest::keyClicks(f.child<QLineEdit>("conditionAmount2"), "5,5");
        QTRY_COMPARE(count->text(),
                     QStringLiteral("1 food (1 more has no figure for Saturated Fat)"));
        auto *list = f.child<FoodList>("finderResults");
        list->setFocus();
        QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 "NDB_No\tDescription\tProtein (g)\tSaturated Fat (g)\tCalories (kcal)\n1123\tEgg, "
                 "whole, raw\t12.560\t3.126\t143.000\n");
        QVERIFY(f.openFood("finderResults", "1123"));
        QTest::mouseClick(f.child<QToolButton>("removeCondition1"), Qt::LeftButton);
        QCOMPARE(f.rows("finderResults"), (QStringList{"Egg, whole, raw", "Carrots, raw"}));
        clickHeader(list, 1); // by saturated fat
        QCOMPARE(f.rows("finderResults"), (QStringList{"Carrots, raw", "Egg, whole, raw"}));
        QVERIFY(!f.child<QToolButton>("removeCondition1")->isEnabled()); // one row stays
        QTRY_COMPARE(stored("FinderAmounts"), QStringLiteral("5.5"));
        f.stop();
        f.start(loadSettings());
        QTest::keyClick(f.window.get(), Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(f.child<QComboBox>("conditionBound1")->currentText(), QStringLiteral("at most"));
        QCOMPARE(f.child<QLineEdit>("conditionAmount1")->text(), QStringLiteral("5.5"));
        QCOMPARE(f.rows("finderResults"), (QStringList{"Egg, whole, raw", "Carrots, raw"}));
        QCOMPARE(boxes.count(), 0);
    }

    void optionsAreCapturedAndSaved() {
        WindowFixture f;
        f.start();
        f.showPage(4);
        QCOMPARE(f.window->windowTitle(), QStringLiteral("KALO - Options"));
        QVERIFY(f.child<QLabel>("aboutLabel")->text().contains("Release 14")); // the default
        auto *weight = f.child<QLineEdit>("weightEdit");
        QCOMPARE(weight->text(), QStringLiteral("100.00"));
        weight->setText("-50");
        f.child<QComboBox>("viewSizeCombo")->setCurrentIndex(1);
        f.showPage(0);
        QCOMPARE(f.window->userSettings().customWeight, 50.0);
        QCOMPARE(stored("CustomWeight"), QStringLiteral("50")); // written on leaving the page
        QVERIFY(f.openFood("browseList", "1123", [](KALODetailsDialog *d) {
            QVERIFY(reportText(d).contains("Selenium")); // the expanded view by default
        }));
        f.showPage(4);
        QCOMPARE(weight->text(), QStringLiteral("50.00")); // as it counts
        weight->clear();
        QTest::keyClicks(weight, "12,345"); // a decimal comma is taken for a point
        // Saved without leaving the page.
        f.stop();
        QCOMPARE(stored("CustomWeight"), QStringLiteral("12.345"));
        QCOMPARE(stored("BasicView"), QStringLiteral("0"));
    }
};

KALO_WIDGET_TEST_MAIN(TestWindow)
#include "tst_window.moc"
