// The main window: five pages behind an icon tab bar, the food database and the details dialog.
#pragma once

#include "db/foodsdatabase.h"
#include "details/foodreport.h"
#include "settings/settings.h"
#include "ui/statuswindows.h"

#include <QMainWindow>
#include <QTimer>

class BookmarksPage;
class BrowsePage;
class FinderDialog;
class KALODetailsDialog;
class OptionsPage;
class QStackedWidget;
class QTabBar;
class SearchPage;
class TopPage;

// Owns the user's settings, the food database and the report state of the food shown in the
// details dialog; wires the pages to the database, which runs every statement. The settings are
// written when they change (a bookmark added, removed or cleared at once, the search history and
// the Find by Nutrients choices within a second, the options when their page is left) and when the
// window is destroyed. Widgets carry
// object names, so that tests find them.
class KALOWindow : public QMainWindow {
    Q_OBJECT
public:
    // databasePath: the food database to open; null for the user's own FOODS.db, or else the
    // installed one (foodsDatabasePath()).
    explicit KALOWindow(Settings settings, QWidget *parent = nullptr,
                        Qt::WindowFlags flags = Qt::Window,
                        const QString &databasePath = QString());
    ~KALOWindow() override;

    const Settings &userSettings() const { return settings; }

    // Copies the search history and the Options page into the settings.
    void readOptions();
    // Captures the options and writes the settings when they differ from the file's.
    void saveSettingsNow();

    void showDatabaseError(const QString &text);
    void showProcessing();
    void hideProcessing();

    // Builds the Search, Top Foods, Bookmarks and Options pages, unless they are built: a moment
    // after the window first paints, or when one is first needed.
    void buildPages();

    // Rebuilds the Bookmarks page from the settings.
    void fillBookmarks();
    // Start-up steps: the word dictionary, the group and criteria choices, the ranking cache.
    void loadWordIndex();
    void fillCombos();
    void prepareTopCache();

private slots:
    void showPage(int index);
    void populateDataWindow(const QString &category);
    void populateSearchDataWindow(const QString &text, const QString &category);
    void searchButtonClicked();
    void populateTopDataWindow(const QString &label);
    void itemClicked(const QString &foodId);
    void updateCachedArray(int weightIndex);
    void clearBookmarkItems();
    // Two bookmarked foods side by side.
    void compareFoods(const QString &firstId, const QString &secondId);
    // Shows Find by Nutrients, made at its first use from the settings.
    void openFinder();

protected:
    bool event(QEvent *event) override;

private:
    void writeChangedSettings();
    QTabBar *buildTabBar(QWidget *parent);
    QString aboutText();

    Settings settings;
    Settings savedSettings; // as last written (or read): what a write would not change
    QTimer historySaveTimer;
    QString startNotice;           // the parts of the database that are missing, shown once
    bool rankingsAvailable = true; // false when the ranking tables could not be built
    bool groupsLoaded = false;
    bool pagesScheduled = false; // to be built after the first paint
    FoodsDatabase foods;
    StatusWindows status;
    FoodReport report; // the food shown in the details dialog

    QStackedWidget *pageStack = nullptr;
    BrowsePage *browsePage = nullptr;
    SearchPage *searchPage = nullptr;
    TopPage *topPage = nullptr;
    BookmarksPage *bookmarkPage = nullptr;
    OptionsPage *optionsPage = nullptr;
    QTabBar *tabBar = nullptr;
    KALODetailsDialog *detailsDialog = nullptr;
    FinderDialog *finderDialog = nullptr;
};
