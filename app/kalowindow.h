// The main window: five pages behind an icon tab bar, the food database and the report state.
#pragma once

#include "db/sqlitedb.h"
#include "finding/wordindex.h"

#include <QList>
#include <QMainWindow>
#include <QString>
#include <QStringList>

class KALODetailsDialog;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QTabBar;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

// Widgets carry object names equal to their member names, so tests can find them.
class KALOWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit KALOWindow(QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::Window);
    ~KALOWindow() override;

    // Page switching and options (app/kalowindow.cpp).
    void readOptions();

    // Status and error windows (app/statuswindows.cpp).
    void showDatabaseError(const QString &text);
    void showProcessing();
    void hideProcessing();
    // Lets pending events run for at most 100 ms, so that the processing window paints before a
    // query and vanishes after it. The time spent in there, summed over the process, is what the
    // benchmarks subtract from an action's time.
    static void letEventsRun();
    static qint64 eventWindowNanoseconds();

    // Bookmarks page (app/kalowindow_bookmarks.cpp).
    void fillBookmarks();

    // Food lists (finding/kalowindow_finding.cpp).
    void loadWordIndex();
    QString expandDescription(const QString &stored) const;
    void fillFoodList(QTreeWidget *list, const ResultRows &rows, bool withValue);
    void fillCombos();
    void prepareTopCache();

    // Details (details/kalowindow_details.cpp): null or empty is 0, otherwise strtod in the C
    // locale.
    static double parseValue(const QString &text);

private slots:
    void showPage(int index);
    void populateDataWindow(const QString &category);
    void populateSearchDataWindow(const QString &text, const QString &category);
    void searchButtonClicked();
    void populateTopDataWindow(const QString &label);
    void itemClicked(QTreeWidgetItem *item);
    void updateCachedArray(int weightIndex);
    void clearBookmarkItems();

private:
    QWidget *buildBrowsePage();
    QWidget *buildSearchPage();
    QWidget *buildTopPage();
    QWidget *buildBookmarkPage();
    QWidget *buildOptionsPage();
    QString aboutText();

    QStackedWidget *pageStack = nullptr;
    QFrame *browsePage = nullptr;
    QComboBox *categoryCombo = nullptr;
    QTreeWidget *browseList = nullptr;
    QFrame *searchPage = nullptr;
    QPushButton *searchButton = nullptr;
    QComboBox *searchCategoryCombo = nullptr;
    QComboBox *searchCombo = nullptr;
    QTreeWidget *searchList = nullptr;
    QFrame *topPage = nullptr;
    QComboBox *topCombo = nullptr;
    QTreeWidget *topList = nullptr;
    QFrame *optionsPage = nullptr;
    QLineEdit *weightEdit = nullptr;
    QComboBox *viewSizeCombo = nullptr;
    QFrame *bookmarkPage = nullptr;
    QToolButton *clearBookmarksButton = nullptr;
    QTreeWidget *bookmarkList = nullptr;
    QLabel *processingLabel = nullptr; // a window of its own, kept until the process ends

    // Report state of the food being shown in the details dialog.
    QString reportDesc;
    QList<double> reportValues; // 25 amounts per 100 g, in nutrient catalogue order
    QList<double> reportWeights;
    QStringList reportWeightNames;
    QString reportId;
    QString reportGroup;

    SQLiteDB db;
    QTabBar *tabBar = nullptr;
    WordIndex wordIndex;
    KALODetailsDialog *detailsDialog = nullptr;
};
