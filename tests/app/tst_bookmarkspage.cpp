// Tests of the Bookmarks page: the list refilled from the settings and the clear-all confirmation.
#include "app/kalowindow.h"
#include "app/settings.h"
#include "finding/foodlistitem.h"
#include "platform/config.h"
#include "tests/common/fixturedb.h"
#include "tests/common/modal.h"

#include <QAbstractButton>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <memory>

class TestBookmarksPage : public QObject {
    Q_OBJECT

private:
    QTemporaryDir installDir;
    std::unique_ptr<KALOWindow> window;

    QTreeWidget *bookmarkList() const {
        return window->findChild<QTreeWidget *>(QStringLiteral("bookmarkList"));
    }
    QToolButton *clearButton() const {
        return window->findChild<QToolButton *>(QStringLiteral("clearBookmarksButton"));
    }
    void showBookmarksPage() {
        window->findChild<QTabBar *>(QStringLiteral("tabBar"))->setCurrentIndex(3);
    }
    // The rows as "number: text", in the order shown.
    QStringList rows() const {
        QStringList shown;
        for (int i = 0; i < bookmarkList()->topLevelItemCount(); ++i) {
            auto *item = static_cast<FoodListItem *>(bookmarkList()->topLevelItem(i));
            shown << item->foodId() + QStringLiteral(": ") + item->text(0);
        }
        return shown;
    }
    void setBookmarks(const QStringList &ids, const QStringList &descs) {
        settings.bookmarkIds = ids;
        settings.bookmarkDescs = descs;
    }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(installDir.isValid());
        QVERIFY(!prepareInstallDir(installDir.path()).isEmpty());
    }

    void init() {
        QFile::remove(Config::userFilePath(QStringLiteral("KALO")));
        settings = Settings();
        qputenv("QPEDIR", installDir.path().toUtf8());
        window = std::make_unique<KALOWindow>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void cleanup() { window.reset(); }

    void withoutBookmarksThePageIsEmpty() {
        showBookmarksPage();
        QCOMPARE(bookmarkList()->topLevelItemCount(), 0);
        QVERIFY(!clearButton()->isEnabled());
        QVERIFY(bookmarkList()->isEnabled());
    }

    void bookmarksAreListedByDescription() {
        setBookmarks({"11215", "1001", "1009"}, {"Garlic, raw", "Butter, salted", "Cheese"});
        showBookmarksPage();
        QCOMPARE(rows(),
                 QStringList({"1001: Butter, salted", "1009: Cheese", "11215: Garlic, raw"}));
        QVERIFY(clearButton()->isEnabled());
        QVERIFY(bookmarkList()->isEnabled());
        QVERIFY(bookmarkList()->topLevelItem(0)->text(1).isNull());
    }

    void unevenListsShowNumbersForTheRest() {
        setBookmarks({"1001", "1009", "11215"}, {"Butter"});
        showBookmarksPage();
        QCOMPARE(rows(), QStringList({"1009: 1009", "11215: 11215", "1001: Butter"}));
        setBookmarks({"1001"}, {"Butter", "salted"});
        window->fillBookmarks();
        QCOMPARE(rows(), QStringList({"1001: Butter"}));
    }

    void answeringNoKeepsEverything() {
        setBookmarks({"1001", "1009"}, {"Butter", "Cheese"});
        showBookmarksPage();
        MessageBoxWatcher boxes(QStringLiteral("No"));
        QTest::mouseClick(clearButton(), Qt::LeftButton);
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.titles.first(), QStringLiteral("KALO"));
        QCOMPARE(boxes.texts.first(), QStringLiteral("Delete all bookmarks ?"));
        QCOMPARE(settings.bookmarkIds, QStringList({"1001", "1009"}));
        QCOMPARE(settings.bookmarkDescs, QStringList({"Butter", "Cheese"}));
        QCOMPARE(bookmarkList()->topLevelItemCount(), 2);
        QVERIFY(clearButton()->isEnabled());
    }

    void escapeKeepsEverything() {
        setBookmarks({"1001"}, {"Butter"});
        showBookmarksPage();
        bool asked = false;
        whenModalShown([&asked](QWidget *w) {
            auto *box = qobject_cast<QMessageBox *>(w);
            QVERIFY(box);
            asked = true;
            QCOMPARE(box->icon(), QMessageBox::Warning);
            QStringList buttons;
            for (QAbstractButton *b : box->buttons())
                buttons << b->text();
            buttons.sort();
            QCOMPARE(buttons, QStringList({"No", "Yes"}));
            QCOMPARE(box->defaultButton()->text(), QStringLiteral("Yes"));
            QCOMPARE(box->escapeButton()->text(), QStringLiteral("No"));
            QTest::keyClick(box, Qt::Key_Escape);
            if (box->isVisible())
                box->reject();
        });
        QTest::mouseClick(clearButton(), Qt::LeftButton);
        QVERIFY(asked);
        QCOMPARE(settings.bookmarkIds, QStringList{"1001"});
        QCOMPARE(bookmarkList()->topLevelItemCount(), 1);
    }

    void answeringYesClearsThePage() {
        setBookmarks({"1001", "1009"}, {"Butter", "Cheese", "extra"});
        showBookmarksPage();
        settings.searchHistory = QStringList{"apple"};
        MessageBoxWatcher boxes; // the default button
        QTest::mouseClick(clearButton(), Qt::LeftButton);
        QCOMPARE(boxes.count(), 1);
        QVERIFY(settings.bookmarkIds.isEmpty());
        QVERIFY(settings.bookmarkDescs.isEmpty());
        QCOMPARE(settings.searchHistory, QStringList{"apple"});
        QCOMPARE(bookmarkList()->topLevelItemCount(), 0);
        QVERIFY(!clearButton()->isEnabled());
    }
};

QTEST_MAIN(TestBookmarksPage)
#include "tst_bookmarkspage.moc"
