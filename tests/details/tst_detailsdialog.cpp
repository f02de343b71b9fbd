// Tests of the details dialog driven through the main window: opening foods from the lists, the
// report, notes in the caption, bookmark toggling, views, the serving menu and copying.
#include "app/kalowindow.h"
#include "app/settings.h"
#include "details/kalodetailsdialog.h"
#include "finding/foodlistitem.h"
#include "platform/config.h"
#include "tests/common/fixturedb.h"
#include "tests/common/modal.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QProxyStyle>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <QTreeWidget>
#include <functional>
#include <limits>
#include <memory>

namespace {

// Item views of this style activate an item on a single click.
class SingleClickStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *answer) const override {
        if (hint == SH_ItemView_ActivateItemOnSingleClick)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, answer);
    }
};

// Counts how often a widget is shown.
class ShowCounter : public QObject {
public:
    int shown = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Show)
            ++shown;
        return QObject::eventFilter(watched, event);
    }
};

// Rejects the dialog when it goes out of scope, so a failed check never leaves it open.
struct CloseOnExit {
    QDialog *dialog;
    ~CloseOnExit() {
        if (dialog && dialog->isVisible())
            dialog->reject();
    }
};

// Calls action with the next popup menu shown; a modal dialog already shown is passed over.
void whenMenuShown(std::function<void(QMenu *)> action, int attempts = 1000) {
    whenModalShown([action, attempts](QWidget *w) {
        if (auto *menu = qobject_cast<QMenu *>(w))
            action(menu);
        else if (attempts > 0)
            QTimer::singleShot(5, [action, attempts]() { whenMenuShown(action, attempts - 1); });
    });
}

void writePicture(const QString &path, QColor colour) {
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(colour);
    QVERIFY(image.save(path, "PNG"));
}

QColor iconColour(const QToolButton *button) {
    const QImage image = button->icon().pixmap(16, 16).toImage();
    return image.isNull() ? QColor() : image.pixelColor(8, 8);
}

} // namespace

class TestDetailsDialog : public QObject {
    Q_OBJECT

private:
    QTemporaryDir installDir;
    QString configPath;
    std::unique_ptr<KALOWindow> window;

    template <typename T> T *child(const char *name) const {
        return window->findChild<T *>(QLatin1String(name));
    }
    KALODetailsDialog *dialog() const { return window->findChild<KALODetailsDialog *>(); }
    QTreeWidget *list(const char *name) const { return child<QTreeWidget>(name); }

    static FoodListItem *findFood(QTreeWidget *list, const QString &id) {
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            auto *item = static_cast<FoodListItem *>(list->topLevelItem(i));
            if (item->foodId() == id)
                return item;
        }
        return nullptr;
    }

    void startWindow() {
        QTest::ignoreMessage(QtDebugMsg, "resizing");
        window = std::make_unique<KALOWindow>();
        window->resize(240, 320);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void showBookmarksPage() { child<QTabBar>("tabBar")->setCurrentIndex(3); }

    // Clicks the food's row in the list; inDialog runs while the dialog is open, then it closes.
    void openByClick(QTreeWidget *foods, const QString &id,
                     std::function<void(KALODetailsDialog *)> inDialog) {
        FoodListItem *item = findFood(foods, id);
        QVERIFY2(item, qPrintable(QStringLiteral("no row for ") + id));
        foods->scrollToItem(item);
        bool ran = false;
        whenModalShown([&ran, inDialog](QWidget *w) {
            auto *shown = qobject_cast<KALODetailsDialog *>(w);
            CloseOnExit closer{qobject_cast<QDialog *>(w)};
            ran = true;
            QVERIFY(shown);
            inDialog(shown);
        });
        QTest::mouseClick(foods->viewport(), Qt::LeftButton, {},
                          foods->visualItemRect(item).center());
        QVERIFY(ran);
        QVERIFY(!dialog()->isVisible());
    }

    void openBookmarked(const QString &id, const QString &desc,
                        std::function<void(KALODetailsDialog *)> inDialog) {
        settings.bookmarkIds << id;
        settings.bookmarkDescs << desc;
        showBookmarksPage();
        window->fillBookmarks();
        openByClick(list("bookmarkList"), id, inDialog);
    }

    QString caption() const { return dialog()->windowTitle(); }
    QString report() const { return child<QTextBrowser>("reportBrowser")->toPlainText(); }
    QStringList menuTexts() const {
        QStringList texts;
        for (QAction *action : child<QMenu>("weightMenu")->actions())
            texts << action->text() + (action->isChecked() ? QStringLiteral(" *") : QString());
        return texts;
    }

    // Opens the serving menu and picks entry index (-1: closes it with Escape).
    void chooseServing(int index) {
        bool shown = false;
        whenMenuShown([this, index, &shown](QMenu *menu) {
            shown = true;
            // Entry 0 opens at the bottom left of the tool strip, over the report's frame.
            auto *strip = child<QFrame>("buttonFrame");
            const QPoint at(child<QToolButton>("weightButton")->mapToGlobal(QPoint(0, 0)).x(),
                            strip->mapToGlobal(QPoint(0, strip->height())).y() +
                                child<QTextBrowser>("reportBrowser")->frameWidth());
            QCOMPARE(menu->mapToGlobal(menu->actionGeometry(menu->actions().value(0)).topLeft()),
                     at);
            if (index < 0) {
                QTest::keyClick(menu, Qt::Key_Escape);
                return;
            }
            QAction *action = menu->actions().value(index);
            QVERIFY(action);
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
        });
        QTest::mouseClick(child<QToolButton>("weightButton"), Qt::LeftButton);
        QVERIFY(shown);
    }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(installDir.isValid());
        QVERIFY(!prepareInstallDir(installDir.path()).isEmpty());
        const QString graphics = installDir.path() + QStringLiteral("/pics/kalo/graphics/");
        writePicture(graphics + QStringLiteral("bookmark_add.png_"), Qt::red);
        writePicture(graphics + QStringLiteral("bookmark_remove.png_"), Qt::green);
        writePicture(graphics + QStringLiteral("viewmore.png_"), Qt::blue);
        writePicture(graphics + QStringLiteral("viewless.png_"), Qt::yellow);
        configPath = Config::userFilePath(QStringLiteral("KALO"));
    }

    void init() {
        QFile::remove(configPath);
        settings = Settings();
        qputenv("QPEDIR", installDir.path().toUtf8());
        startWindow();
    }

    void cleanup() { window.reset(); }

    void openingAFoodShowsItsReport() {
        window->resize(300, 400);
        openByClick(list("browseList"), QStringLiteral("1009"), [this](KALODetailsDialog *d) {
            QCOMPARE(d->size(), window->size());
            QCOMPARE(caption(), QStringLiteral("Details (1009)"));
            QVERIFY(report().startsWith(
                QStringLiteral("\nCheese, cheddar\nCategory: Dairy and Egg Products\n")));
            // Basic view, scaled to the first serving of 132 g: 403 kcal per 100 g.
            QVERIFY2(report().contains(QStringLiteral("\nCalories\nkcal\n531.960\n")),
                     qPrintable(report()));
            QVERIFY(report().contains(QStringLiteral("Vitamine E")));
            QVERIFY(!report().contains(QStringLiteral("Selenium")));
            QCOMPARE(menuTexts(), QStringList({"1 cup, diced  (132.0 g) *",
                                               "1 cup, melted  (244.0 g)", "Custom  (100.0 g)"}));
            QCOMPARE(child<QLabel>("weightLabel")->text(),
                     QStringLiteral("1 cup, diced  (132.0 g)"));
            QCOMPARE(iconColour(child<QToolButton>("bookmarkButton")), QColor(Qt::red));
            QCOMPARE(iconColour(child<QToolButton>("viewButton")), QColor(Qt::blue));
        });
    }

    void theStripIsLaidOutByWidth() {
        // The dialog takes the main window's size at every opening.
        for (const QSize wanted : {QSize(240, 320), QSize(1024, 768)}) {
            window->resize(wanted);
            const QSize size = window->size(); // no smaller than the window's minimum size
            openByClick(list("browseList"), QStringLiteral("1009"), [&](KALODetailsDialog *d) {
                QCOMPARE(d->size(), size);
                const int w = size.width();
                QCOMPARE(child<QFrame>("buttonFrame")->geometry(), QRect(0, 0, w, 24));
                QCOMPARE(child<QToolButton>("copyButton")->geometry(), QRect(1, 2, 20, 20));
                QCOMPARE(child<QToolButton>("bookmarkButton")->geometry(), QRect(25, 2, 20, 20));
                QCOMPARE(child<QToolButton>("viewButton")->geometry(), QRect(49, 2, 20, 20));
                QCOMPARE(child<QLabel>("weightLabel")->geometry(), QRect(w - 140, 0, 140, 24));
                QCOMPARE(child<QToolButton>("weightButton")->geometry(), QRect(w - 164, 2, 20, 20));
                QCOMPARE(child<QTextBrowser>("reportBrowser")->geometry(),
                         QRect(0, 24, w, size.height() - 24));
            });
        }
    }

    void bookmarkTogglesWithNotes() {
        openByClick(list("browseList"), QStringLiteral("1009"), [this](KALODetailsDialog *) {
            auto *button = child<QToolButton>("bookmarkButton");
            QTest::mouseClick(button, Qt::LeftButton);
            QCOMPARE(caption(), QStringLiteral("Bookmark Added"));
            QCOMPARE(settings.bookmarkIds, QStringList{"1009"});
            QCOMPARE(settings.bookmarkDescs, QStringList{"Cheese, cheddar"});
            QCOMPARE(iconColour(button), QColor(Qt::green));

            QTest::qWait(700);
            QElapsedTimer sinceSecond;
            sinceSecond.start();
            QTest::mouseClick(button, Qt::LeftButton);
            QCOMPARE(caption(), QStringLiteral("Bookmark Removed"));
            QVERIFY(settings.bookmarkIds.isEmpty());
            QVERIFY(settings.bookmarkDescs.isEmpty());
            QCOMPARE(iconColour(button), QColor(Qt::red));

            // 1.5 s after the first press the second note is still shown.
            QTest::qWait(1000);
            if (sinceSecond.elapsed() < 1400)
                QCOMPARE(caption(), QStringLiteral("Bookmark Removed"));
            QTRY_COMPARE_WITH_TIMEOUT(caption(), QStringLiteral("Details (1009)"), 2000);
            QVERIFY(sinceSecond.elapsed() >= 1490);
        });
    }

    void viewsSwitchAndReopenAsSet() {
        openByClick(list("browseList"), QStringLiteral("1001"), [this](KALODetailsDialog *) {
            auto *view = child<QToolButton>("viewButton");
            QTest::mouseClick(view, Qt::LeftButton);
            QCOMPARE(caption(), QStringLiteral("Detailed View"));
            QVERIFY(report().contains(QStringLiteral("\nSelenium\nmcg\n0.000\n")));
            QVERIFY(report().contains(QStringLiteral("\nCalories\nkcal\n35.850\n"))); // 5 g pat
            QCOMPARE(iconColour(view), QColor(Qt::yellow));
            QTest::mouseClick(view, Qt::LeftButton);
            QCOMPARE(caption(), QStringLiteral("Basic View"));
            QVERIFY(!report().contains(QStringLiteral("Selenium")));
            QCOMPARE(iconColour(view), QColor(Qt::blue));
            QTest::mouseClick(view, Qt::LeftButton);
            QTRY_COMPARE_WITH_TIMEOUT(caption(), QStringLiteral("Details (1001)"), 3000);
        });
        QVERIFY(settings.basicView);
        // The next opening starts in the view of the settings again.
        openByClick(list("browseList"), QStringLiteral("1001"), [this](KALODetailsDialog *) {
            QVERIFY(!report().contains(QStringLiteral("Selenium")));
        });
        settings.basicView = false;
        openByClick(list("browseList"), QStringLiteral("1001"), [this](KALODetailsDialog *) {
            QVERIFY(report().contains(QStringLiteral("Selenium")));
            QCOMPARE(iconColour(child<QToolButton>("viewButton")), QColor(Qt::yellow));
        });
    }

    void servingsComeFromTheMenu() {
        openByClick(list("browseList"), QStringLiteral("1009"), [this](KALODetailsDialog *d) {
            QSignalSpy chosen(d, &KALODetailsDialog::valueChanged);
            chooseServing(2);
            QCOMPARE(chosen.count(), 1);
            QCOMPARE(chosen.first().first().toInt(), 2);
            QCOMPARE(child<QLabel>("weightLabel")->text(), QStringLiteral("Custom  (100.0 g)"));
            QVERIFY(report().contains(QStringLiteral("\nCalories\nkcal\n403.000\n")));
            QCOMPARE(menuTexts(), QStringList({"1 cup, diced  (132.0 g)",
                                               "1 cup, melted  (244.0 g)", "Custom  (100.0 g) *"}));

            chooseServing(-1);
            QCOMPARE(chosen.count(), 1);
            QCOMPARE(child<QLabel>("weightLabel")->text(), QStringLiteral("Custom  (100.0 g)"));

            // The chosen serving holds in the other view too.
            chooseServing(1);
            QCOMPARE(chosen.count(), 2);
            QTest::mouseClick(child<QToolButton>("viewButton"), Qt::LeftButton);
            QVERIFY(report().contains(QStringLiteral("\nCalories\nkcal\n983.320\n")));
            QVERIFY(report().contains(QStringLiteral("\nProtein\ng\n60.756\n")));
        });
    }

    void servingListsFollowTheStoredWeights() {
        settings.bookmarkIds = QStringList{"11124", "11215"};
        settings.bookmarkDescs = QStringList{"Carrots, raw", "Garlic, raw"};
        showBookmarksPage();
        settings.customWeight = 28.35; // after the page switch, which takes the Options page's
        QTreeWidget *bookmarks = list("bookmarkList");
        openByClick(bookmarks, QStringLiteral("11124"), [this](KALODetailsDialog *) {
            QCOMPARE(menuTexts(), QStringList({"1 medium  (61.0 g) *", "Custom  (28.4 g)"}));
            chooseServing(1);
            QVERIFY(report().contains(QStringLiteral("\nCalories\nkcal\n11.624\n")));
        });
        openByClick(bookmarks, QStringLiteral("11215"), [this](KALODetailsDialog *) {
            QCOMPARE(menuTexts(), QStringList({"Custom  (28.4 g) *"}));
            QVERIFY(report().contains(QStringLiteral("\nCalories\nkcal\n42.242\n")));
        });
        // A custom weight that is no finite number counts as 100 g.
        settings.customWeight = std::numeric_limits<double>::infinity();
        openByClick(bookmarks, QStringLiteral("11215"), [this](KALODetailsDialog *) {
            QCOMPARE(menuTexts(), QStringList({"Custom  (100.0 g) *"}));
            QVERIFY(report().contains(QStringLiteral("\nCalories\nkcal\n149.000\n")));
        });
    }

    void closingRefreshesTheBookmarksPage() {
        openByClick(list("browseList"), QStringLiteral("1009"), [this](KALODetailsDialog *) {
            QTest::mouseClick(child<QToolButton>("bookmarkButton"), Qt::LeftButton);
        });
        QTreeWidget *bookmarks = list("bookmarkList");
        QCOMPARE(bookmarks->topLevelItemCount(), 1);
        QCOMPARE(bookmarks->topLevelItem(0)->text(0), QStringLiteral("Cheese, cheddar"));
        QVERIFY(child<QToolButton>("clearBookmarksButton")->isEnabled());

        showBookmarksPage();
        openByClick(bookmarks, QStringLiteral("1009"), [this](KALODetailsDialog *) {
            QCOMPARE(iconColour(child<QToolButton>("bookmarkButton")), QColor(Qt::green));
            QTest::mouseClick(child<QToolButton>("bookmarkButton"), Qt::LeftButton);
            QCOMPARE(caption(), QStringLiteral("Bookmark Removed"));
        });
        QCOMPARE(bookmarks->topLevelItemCount(), 0);
        QVERIFY(!child<QToolButton>("clearBookmarksButton")->isEnabled());
    }

    void copyingShowsANote() {
        openByClick(list("browseList"), QStringLiteral("1009"), [this](KALODetailsDialog *) {
            QApplication::clipboard()->setText(QStringLiteral("before"));
            QTest::mouseClick(child<QToolButton>("copyButton"), Qt::LeftButton);
            QCOMPARE(caption(), QStringLiteral("Selection Copied"));
            QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("before"));

            child<QTextBrowser>("reportBrowser")->selectAll();
            QTest::mouseClick(child<QToolButton>("copyButton"), Qt::LeftButton);
            QCOMPARE(caption(), QStringLiteral("Selection Copied"));
            QVERIFY(QApplication::clipboard()->text().contains(QStringLiteral("Cheese, cheddar")));
            QTRY_COMPARE_WITH_TIMEOUT(caption(), QStringLiteral("Details (1009)"), 3000);
        });
    }

    void foodsWithoutARowOpenEmpty_data() {
        QTest::addColumn<QString>("id");
        QTest::newRow("a number the database does not hold") << "99999";
        QTest::newRow("a number with text after it") << "1009 or 1=1";
        QTest::newRow("a second statement") << "1009;DROP TABLE FOODS_WR";
    }

    void foodsWithoutARowOpenEmpty() {
        QFETCH(QString, id);
        MessageBoxWatcher boxes;
        openBookmarked(id, QStringLiteral("Odd entry"), [this](KALODetailsDialog *) {
            QCOMPARE(caption(), QStringLiteral("Details ()"));
            QVERIFY(report().startsWith(QStringLiteral("\n\nCategory: \n")));
            QCOMPARE(report().count(QStringLiteral("\n0.000\n")), 8);
            QCOMPARE(menuTexts(), QStringList({"Custom  (100.0 g) *"}));
            // With no number there is nothing to bookmark.
            const QStringList before = settings.bookmarkIds;
            QTest::mouseClick(child<QToolButton>("bookmarkButton"), Qt::LeftButton);
            QCOMPARE(settings.bookmarkIds, before);
            QCOMPARE(caption(), QStringLiteral("Details ()"));
        });
        QCOMPARE(boxes.count(), 0);
        QCOMPARE(list("bookmarkList")->topLevelItemCount(), 1);
        // The database was not touched by the text.
        QVERIFY(findFood(list("browseList"), QStringLiteral("1009")));
        openByClick(list("browseList"), QStringLiteral("1009"), [this](KALODetailsDialog *) {
            QCOMPARE(caption(), QStringLiteral("Details (1009)"));
        });
    }

    void leadingZerosReachTheStatement() {
        openBookmarked(
            QStringLiteral("01009"), QStringLiteral("Cheese"),
            [this](KALODetailsDialog *) { QCOMPARE(caption(), QStringLiteral("Details (1009)")); });
    }

    void aFailedStatementShowsTheErrorBoxOnly() {
        settings.bookmarkIds = QStringList{"1009"};
        settings.bookmarkDescs = QStringList{"Cheese"};
        showBookmarksPage();
        QVERIFY(runStatements(installDir.path() + QStringLiteral("/pics/kalo/FOODS.db"),
                              {QStringLiteral("ALTER TABLE FOODS_GROUP RENAME TO OLD_GROUP")}));
        ShowCounter counter;
        dialog()->installEventFilter(&counter);
        {
            MessageBoxWatcher boxes;
            QTreeWidget *bookmarks = list("bookmarkList");
            QTest::mouseClick(bookmarks->viewport(), Qt::LeftButton, {},
                              bookmarks->visualItemRect(bookmarks->topLevelItem(0)).center());
            QCOMPARE(boxes.count(), 1);
            QCOMPARE(boxes.titles.first(), QStringLiteral("KALO"));
            QVERIFY2(boxes.texts.first().contains(QStringLiteral("no such table")),
                     qPrintable(boxes.texts.first()));
        }
        QVERIFY(runStatements(installDir.path() + QStringLiteral("/pics/kalo/FOODS.db"),
                              {QStringLiteral("ALTER TABLE OLD_GROUP RENAME TO FOODS_GROUP")}));
        QCOMPARE(counter.shown, 0);
    }

    void eachWayOfOpeningOpensOnce_data() {
        QTest::addColumn<int>("way");
        QTest::newRow("a click") << 0;
        QTest::newRow("a click where one click activates") << 1;
        QTest::newRow("Return on the selected row") << 2;
        QTest::newRow("Enter on the selected row") << 3;
    }

    void eachWayOfOpeningOpensOnce() {
        QFETCH(int, way);
        QTreeWidget *foods = list("browseList");
        SingleClickStyle style;
        if (way == 1)
            foods->setStyle(&style);
        ShowCounter counter;
        dialog()->installEventFilter(&counter);
        FoodListItem *item = findFood(foods, QStringLiteral("1123"));
        QVERIFY(item);
        DialogCloser closer;
        if (way <= 1) {
            QTest::mouseClick(foods->viewport(), Qt::LeftButton, {},
                              foods->visualItemRect(item).center());
        } else {
            window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(window.get()));
            foods->setFocus();
            foods->setCurrentItem(item);
            QTest::keyClick(foods, way == 2 ? Qt::Key_Return : Qt::Key_Enter);
        }
        QTest::qWait(200);
        foods->setStyle(nullptr);
        QCOMPARE(closer.opened, 1);
        QCOMPARE(counter.shown, 1);
        QCOMPARE(caption(), QStringLiteral("Details (1123)"));
    }

    void theRealCheddar() {
        const QString real = realFoodsDatabase();
        if (real.isEmpty()) {
            if (qEnvironmentVariableIsSet("CI"))
                QFAIL("the FOODS.db built from the USDA data is missing");
            QSKIP("the FOODS.db built from the USDA data is not in this build tree");
        }
        window.reset();
        QTemporaryDir copy;
        QVERIFY(!prepareInstallDir(copy.path(), false).isEmpty());
        const QString foods = copy.path() + QStringLiteral("/pics/kalo/FOODS.db");
        QVERIFY(QFile::copy(real, foods));
        QFile::setPermissions(foods, QFile::ReadOwner | QFile::WriteOwner);
        qputenv("QPEDIR", copy.path().toUtf8());
        startWindow();
        auto *groups = child<QComboBox>("categoryCombo");
        const int dairy = groups->findText(QStringLiteral("Dairy and Egg Products"));
        QVERIFY(dairy >= 0);
        groups->setCurrentIndex(dairy);
        emit groups->textActivated(groups->currentText());
        QTreeWidget *browse = list("browseList");
        QVERIFY(findFood(browse, QStringLiteral("1009")));
        openByClick(browse, QStringLiteral("1009"), [this](KALODetailsDialog *) {
            QCOMPARE(caption(), QStringLiteral("Details (1009)"));
            QVERIFY2(report().startsWith(QStringLiteral("\nCheese, cheddar\n")),
                     qPrintable(report()));
            // The two common servings of the USDA data, then the custom weight.
            const QStringList menu = menuTexts();
            QCOMPARE(menu, QStringList({"1 cup, diced  (132.0 g) *", "1 cup, melted  (244.0 g)",
                                        "Custom  (100.0 g)"}));
            QVERIFY(report().contains(QStringLiteral("\nCalories\nkcal\n531.960\n")));
            chooseServing(int(menu.size()) - 1);
            QVERIFY2(report().contains(QStringLiteral("\nCalories\nkcal\n403.000\n")),
                     qPrintable(report()));
        });
        window.reset();
        qputenv("QPEDIR", installDir.path().toUtf8());
    }
};

QTEST_MAIN(TestDetailsDialog)
#include "tst_detailsdialog.moc"
