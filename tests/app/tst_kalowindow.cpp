// Tests of the main window: pages and captions, options capture, the error box, the processing
// window and the pictures, on a handheld-sized (240 by 320) offscreen screen.
#include "app/kalowindow.h"
#include "app/settings.h"
#include "details/kalodetailsdialog.h"
#include "platform/config.h"
#include "tests/common/fixturedb.h"
#include "tests/common/modal.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QProxyStyle>
#include <QScreen>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <limits>

namespace {

// A platform whose item views activate an item on a single click.
class SingleClickStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *answer) const override {
        if (hint == SH_ItemView_ActivateItemOnSingleClick)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, answer);
    }
};

} // namespace

class TestKALOWindow : public QObject {
    Q_OBJECT

private:
    QTemporaryDir installDir;
    QString foodsPath;
    QString configPath;

    static void goToPage(KALOWindow &window, int index) {
        window.findChild<QTabBar *>(QStringLiteral("tabBar"))->setCurrentIndex(index);
    }
    static QString settingsFileText(const QString &path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(installDir.isValid());
        foodsPath = prepareInstallDir(installDir.path());
        QVERIFY(QFile::exists(foodsPath));
        configPath = Config::userFilePath(QStringLiteral("KALO"));
    }

    void init() {
        QFile::remove(configPath);
        settings = Settings();
        qputenv("QPEDIR", installDir.path().toUtf8());
    }

    void startsOnTheBrowsePage() {
        MessageBoxWatcher boxes;
        KALOWindow window;
        QCOMPARE(boxes.count(), 0);
        auto *stack = window.findChild<QStackedWidget *>(QStringLiteral("pageStack"));
        QVERIFY(stack);
        QCOMPARE(stack->count(), 5);
        QCOMPARE(stack->currentIndex(), 0);
        QCOMPARE(stack->currentWidget()->objectName(), QStringLiteral("browsePage"));
        QCOMPARE(window.findChild<QTabBar *>(QStringLiteral("tabBar"))->currentIndex(), 0);
        QCOMPARE(window.windowTitle(), QStringLiteral("KALO - Browse"));
    }

    void tabsRaiseTheirPages_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("caption");
        QTest::newRow("first tab lists by group") << 0 << "browsePage"
                                                  << "KALO - Browse";
        QTest::newRow("second tab searches") << 1 << "searchPage"
                                             << "KALO - Search";
        QTest::newRow("third tab ranks") << 2 << "topPage"
                                         << "KALO - Top Foods";
        QTest::newRow("fourth tab shows bookmarks") << 3 << "bookmarkPage"
                                                    << "KALO - Bookmarks";
        QTest::newRow("fifth tab holds the options") << 4 << "optionsPage"
                                                     << "KALO - Options";
    }
    void tabsRaiseTheirPages() {
        QFETCH(int, index);
        QFETCH(QString, page);
        QFETCH(QString, caption);
        KALOWindow window;
        auto *tabs = window.findChild<QTabBar *>(QStringLiteral("tabBar"));
        QCOMPARE(tabs->count(), 5);
        // Leave the first tab first, so that choosing it again is a change.
        goToPage(window, index == 0 ? 1 : 0);
        goToPage(window, index);
        auto *stack = window.findChild<QStackedWidget *>(QStringLiteral("pageStack"));
        QCOMPARE(stack->currentWidget()->objectName(), page);
        QCOMPARE(stack->currentIndex(), index);
        QCOMPARE(window.windowTitle(), caption);
    }

    void missingDatabaseGivesOneErrorBox() {
        QTemporaryDir empty;
        prepareInstallDir(empty.path(), false);
        MessageBoxWatcher boxes;
        KALOWindow window;
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.titles.first(), QStringLiteral("KALO"));
        QVERIFY2(boxes.texts.first().contains(QStringLiteral("File does not exist")),
                 qPrintable(boxes.texts.first()));
        QVERIFY(boxes.texts.first().startsWith(QStringLiteral("<qt>Database Error:")));
        QVERIFY(!QFile::exists(empty.path() + QStringLiteral("/pics/kalo/FOODS.db")));
        // The window still opens with every page, the lists and combos empty.
        auto *stack = window.findChild<QStackedWidget *>(QStringLiteral("pageStack"));
        QCOMPARE(stack->count(), 5);
        QCOMPARE(window.windowTitle(), QStringLiteral("KALO - Browse"));
        QCOMPARE(window.findChild<QComboBox *>(QStringLiteral("categoryCombo"))->count(), 0);
        QCOMPARE(window.findChild<QTreeWidget *>(QStringLiteral("browseList"))->topLevelItemCount(),
                 0);
        // Moving through the pages brings no further box.
        for (int index : {1, 2, 3, 4, 0})
            goToPage(window, index);
        QCOMPARE(boxes.count(), 1);
    }

    void weightIsCapturedWhenLeavingOptions_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("captured");
        QTest::newRow("a negative weight counts as positive") << "-50" << 50.0;
        QTest::newRow("zero means the default serving") << "0" << 100.0;
        QTest::newRow("an empty field means the default serving") << "" << 100.0;
        QTest::newRow("text that is no number means the default") << "abc" << 100.0;
        QTest::newRow("three decimals are kept") << "12.345" << 12.345;
        QTest::newRow("leading digits are read") << "75g" << 75.0;
        QTest::newRow("infinity means the default serving") << "inf" << 100.0;
        QTest::newRow("not a number means the default serving") << "nan" << 100.0;
        QTest::newRow("an overflowing number means the default") << "1e400" << 100.0;
    }
    void weightIsCapturedWhenLeavingOptions() {
        QFETCH(QString, typed);
        QFETCH(double, captured);
        KALOWindow window;
        auto *weight = window.findChild<QLineEdit *>(QStringLiteral("weightEdit"));
        goToPage(window, 4);
        QCOMPARE(weight->text(), QStringLiteral("100.00"));
        weight->setText(typed);
        QCOMPARE(settings.customWeight, 100.0); // entering the page does not capture
        goToPage(window, 0);
        QCOMPARE(settings.customWeight, captured);
        goToPage(window, 4);
        QCOMPARE(weight->text(), QString::asprintf("%.2f", captured));
    }

    void weightIsKeptAndSavedExactly() {
        {
            KALOWindow window;
            goToPage(window, 4);
            window.findChild<QLineEdit *>(QStringLiteral("weightEdit"))
                ->setText(QStringLiteral("12.345"));
            goToPage(window, 2);
            QCOMPARE(settings.customWeight, 12.345);
        }
        QVERIFY(settingsFileText(configPath).contains(QStringLiteral("CustomWeight = 12.345")));
        settings = Settings();
        loadSettings();
        QCOMPARE(settings.customWeight, 12.345);
        // The next start shows two decimals, and the start-up capture takes them.
        KALOWindow window;
        QCOMPARE(window.findChild<QLineEdit *>(QStringLiteral("weightEdit"))->text(),
                 QStringLiteral("12.35"));
        QCOMPARE(settings.customWeight, 12.35);
    }

    void storedWeightThatIsNotFiniteBecomesTheDefault() {
        settings.customWeight = std::numeric_limits<double>::infinity();
        KALOWindow window;
        QCOMPARE(settings.customWeight, 100.0);
    }

    void viewSizeIsCaptured() {
        KALOWindow window;
        auto *view = window.findChild<QComboBox *>(QStringLiteral("viewSizeCombo"));
        QCOMPARE(view->count(), 2);
        QCOMPARE(view->itemText(0), QStringLiteral("Basic View"));
        QCOMPARE(view->itemText(1), QStringLiteral("Expanded View"));
        QCOMPARE(view->currentIndex(), 0);
        goToPage(window, 4);
        view->setCurrentIndex(1);
        QVERIFY(settings.basicView);
        goToPage(window, 3);
        QVERIFY(!settings.basicView);
        // Another window opened with that setting shows the expanded view.
        KALOWindow second;
        QCOMPARE(second.findChild<QComboBox *>(QStringLiteral("viewSizeCombo"))->currentText(),
                 QStringLiteral("Expanded View"));
    }

    void destroyingTheWindowSavesWhatOptionsShows() {
        settings.searchHistory = QStringList{QStringLiteral("apple"), QStringLiteral("milk")};
        {
            KALOWindow window;
            auto *history = window.findChild<QComboBox *>(QStringLiteral("searchCombo"));
            QCOMPARE(history->count(), 2);
            QCOMPARE(history->itemText(0), QStringLiteral("apple"));
            goToPage(window, 4);
            window.findChild<QLineEdit *>(QStringLiteral("weightEdit"))
                ->setText(QStringLiteral("42"));
            window.findChild<QComboBox *>(QStringLiteral("viewSizeCombo"))->setCurrentIndex(1);
            history->insertItem(0, QStringLiteral("bread"));
        }
        settings = Settings();
        loadSettings();
        QCOMPARE(settings.customWeight, 42.0);
        QVERIFY(!settings.basicView);
        QCOMPARE(settings.searchHistory,
                 QStringList(
                     {QStringLiteral("bread"), QStringLiteral("apple"), QStringLiteral("milk")}));
    }

    void processingWindowIsMadeOnceAndReused() {
        KALOWindow window;
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        // Earlier windows of this process left their labels behind, hidden.
        auto findLabels = [](bool visibleOnly) {
            QList<QLabel *> labels;
            for (QWidget *w : QApplication::topLevelWidgets())
                if (w->objectName() == QLatin1String("processing window") &&
                    (w->isVisible() || !visibleOnly))
                    labels << qobject_cast<QLabel *>(w);
            return labels;
        };
        const int before = findLabels(false).size();
        window.showProcessing();
        const QList<QLabel *> shown = findLabels(true);
        QCOMPARE(shown.size(), 1);
        QLabel *label = shown.first();
        QVERIFY(label);
        QVERIFY(!label->parentWidget());
        QCOMPARE(label->text(), QStringLiteral("<qt>Processing request ...</qt>"));
        QVERIFY(label->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(label->windowFlags() & Qt::WindowStaysOnTopHint);
        // Centred on the 240 by 320 screen by integer arithmetic.
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(screen.size(), QSize(240, 320));
        QCOMPARE(label->geometry(), QRect(40, 130, 160, 60));

        window.hideProcessing();
        QVERIFY(!label->isVisible());
        // The keyboard stays with the main window.
        QTRY_COMPARE(QApplication::activeWindow(), &window);

        window.showProcessing();
        QCOMPARE(findLabels(true), shown);
        QVERIFY(findLabels(false).size() <= before + 1);
        QCOMPARE(label->geometry(), QRect(40, 130, 160, 60));
        window.hideProcessing();
    }

    void aboutTextNamesTheReleaseLoaded_data() {
        QTest::addColumn<QStringList>("statements");
        QTest::addColumn<QString>("release");
        QTest::newRow("a database without a release number") << QStringList() << "Release 14 ";
        QTest::newRow("a database of release 24")
            << QStringList{QStringLiteral("PRAGMA user_version = 24")} << "Release 24 ";
    }
    void aboutTextNamesTheReleaseLoaded() {
        QFETCH(QStringList, statements);
        QFETCH(QString, release);
        QTemporaryDir dir;
        prepareInstallDir(dir.path(), true, statements);
        KALOWindow window;
        window.findChild<QTabBar *>(QStringLiteral("tabBar"))->setCurrentIndex(4); // Options
        auto *about = window.findChild<QLabel *>(QStringLiteral("aboutLabel"));
        QVERIFY(about);
        QVERIFY(about->text().startsWith(
            QStringLiteral("<qt><b>USDA Nutrient Database </b><br><br>This program provides "
                           "\r\n\taccess to ") +
            release));
        QVERIFY(about->text().endsWith(QStringLiteral("</qt>")));
    }

    void listsAndWidgetsAreSetUp() {
        KALOWindow window;
        for (const char *name : {"browseList", "searchList", "bookmarkList"}) {
            auto *list = window.findChild<QTreeWidget *>(QLatin1String(name));
            QVERIFY2(list, name);
            QCOMPARE(list->columnCount(), 1);
            QCOMPARE(list->headerItem()->text(0), QStringLiteral("Description "));
            QVERIFY(list->allColumnsShowFocus());
            QVERIFY(!list->rootIsDecorated());
            QCOMPARE(list->header()->sortIndicatorSection(), 0);
            QCOMPARE(list->header()->sortIndicatorOrder(), Qt::AscendingOrder);
        }
        auto *top = window.findChild<QTreeWidget *>(QStringLiteral("topList"));
        QCOMPARE(top->columnCount(), 2);
        QCOMPARE(top->headerItem()->text(1), QStringLiteral("100g"));
        QCOMPARE(top->header()->sortIndicatorSection(), 1);
        QCOMPARE(top->header()->sortIndicatorOrder(), Qt::DescendingOrder);
        QVERIFY(top->headerItem()->textAlignment(1) & Qt::AlignRight);

        // The search text keeps no completer: "ap" is searched as typed, not as "apple".
        auto *search = window.findChild<QComboBox *>(QStringLiteral("searchCombo"));
        QVERIFY(search->isEditable());
        QVERIFY(!search->completer());
        QCOMPARE(search->insertPolicy(), QComboBox::NoInsert);
        QCOMPARE(window.findChild<QComboBox *>(QStringLiteral("categoryCombo"))->maximumWidth(),
                 180);
        QCOMPARE(
            window.findChild<QComboBox *>(QStringLiteral("searchCategoryCombo"))->maximumWidth(),
            188);
    }

    void foodOpensOnceByClickOrByKey_data() {
        QTest::addColumn<bool>("singleClickActivates");
        QTest::newRow("a platform that activates on double click") << false;
        QTest::newRow("a platform that activates on single click") << true;
    }
    void foodOpensOnceByClickOrByKey() {
        QFETCH(bool, singleClickActivates);
        KALOWindow window;
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto *list = window.findChild<QTreeWidget *>(QStringLiteral("browseList"));
        if (list->topLevelItemCount() == 0)
            QSKIP("the Browse list is not filled by this build");
        SingleClickStyle style;
        if (singleClickActivates)
            list->setStyle(&style);
        QTreeWidgetItem *item = list->topLevelItem(0);

        DialogCloser dialogs;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(item).center());
        QTRY_COMPARE(dialogs.opened, 1);
        QTest::qWait(50);
        QCOMPARE(dialogs.opened, 1);

        // The offscreen platform leaves the hidden dialog active; a window manager would not.
        window.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &window);
        list->setFocus();
        list->setCurrentItem(item);
        QTest::keyClick(list, Qt::Key_Return);
        QTRY_COMPARE(dialogs.opened, 2);
        window.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &window);
        QTest::keyClick(list, Qt::Key_Enter, Qt::KeypadModifier);
        QTRY_COMPARE(dialogs.opened, 3);
        QTest::qWait(50);
        QCOMPARE(dialogs.opened, 3);
        list->setStyle(nullptr);
    }

    void picturesAreBuiltAndLoadByContent_data() {
        QTest::addColumn<QString>("name");
        for (const char *name :
             {"contents", "viewmag", "top50", "bookmark", "about", "remove", "copy", "bookmark_add",
              "bookmark_remove", "down", "viewless", "viewmore"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void picturesAreBuiltAndLoadByContent() {
        QFETCH(QString, name);
        const QString dir = qEnvironmentVariable("KALO_REAL_DATA_DIR");
        if (dir.isEmpty())
            QSKIP("run through CTest, which names the build tree's data directory");
        const QPixmap pixmap(dir + QStringLiteral("/pics/kalo/graphics/") + name +
                             QStringLiteral(".png_"));
        QVERIFY(!pixmap.isNull());
        // Large enough to stay sharp when shown at 32 px on a screen of twice the density.
        QVERIFY(pixmap.width() >= 64 && pixmap.height() >= 64);
        QVERIFY(pixmap.hasAlphaChannel());
    }

    void tabsShowThePicturesInstalled() {
        const QString data = qEnvironmentVariable("KALO_REAL_DATA_DIR");
        if (data.isEmpty())
            QSKIP("run through CTest, which names the build tree's data directory");
        QTemporaryDir dir;
        prepareInstallDir(dir.path());
        const QString graphics = dir.path() + QStringLiteral("/pics/kalo/graphics/");
        QVERIFY(QDir().mkpath(graphics));
        // Every picture but the Search tab's: that tab and only that one stays bare.
        for (const char *name : {"contents", "top50", "bookmark", "about", "remove"})
            QVERIFY(QFile::copy(data + QStringLiteral("/pics/kalo/graphics/") + name +
                                    QStringLiteral(".png_"),
                                graphics + name + QStringLiteral(".png_")));
        MessageBoxWatcher boxes;
        KALOWindow window;
        auto *tabs = window.findChild<QTabBar *>(QStringLiteral("tabBar"));
        for (int i = 0; i < 5; ++i)
            QCOMPARE(tabs->tabIcon(i).isNull(), i == 1);
        QCOMPARE(boxes.count(), 0);
    }
};

// A handheld-sized offscreen screen, unless the caller chose a platform of their own.
int main(int argc, char **argv) {
    QTemporaryDir screenDir;
    const QString screenFile = screenDir.path() + QStringLiteral("/screen.json");
    QFile file(screenFile);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(R"({"screens": [{"name": "handheld", "x": 0, "y": 0, "width": 240,
                       "height": 320, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
        file.close();
    }
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty() || platform == "offscreen")
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + screenFile.toUtf8());
    QApplication app(argc, argv);
    TestKALOWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_kalowindow.moc"
