// The main window: five pages behind an icon tab bar, the food database and the details dialog.
#include "ui/kalowindow.h"

#include "db/datainfo.h"
#include "db/foodsschema.h"
#include "db/transaction.h"
#include "details/nutrientcatalogue.h"
#include "finding/statements.h"
#include "finding/topcache.h"
#include "finding/topcriteria.h"
#include "platform/databaselocation.h"
#include "settings/bookmarks.h"
#include "settings/weightrules.h"
#include "ui/bookmarkspage.h"
#include "ui/browsepage.h"
#include "ui/comparedialog.h"
#include "ui/kalodetailsdialog.h"
#include "ui/optionspage.h"
#include "ui/pictures.h"
#include "ui/searchpage.h"
#include "ui/toppage.h"

#include <QProxyStyle>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

namespace {

// Tabs with narrow side margins, so that five picture tabs fit the width of a handheld screen.
class CompactTabStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption *option,
                    const QWidget *widget) const override {
        if (metric == PM_TabBarTabHSpace)
            return qMin(QProxyStyle::pixelMetric(metric, option, widget), 12);
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

// Columns of FOODS_WR the program reads but can do without: a missing one reads as unknown.
QStringList optionalFoodColumns() {
    QStringList columns;
    for (const char *column : foodsNutrientColumns)
        columns << QLatin1String(column);
    columns << QStringLiteral("GmWt_1") << QStringLiteral("GmWt_Desc1") << QStringLiteral("GmWt_2")
            << QStringLiteral("GmWt_Desc2");
    return columns;
}

// The lower-case column names of a table; none when it does not exist.
QStringList columnNames(SQLiteDB &db, const QString &table) {
    const ResultRows info = db.exec(QStringLiteral("pragma table_info(%1)").arg(table));
    QStringList names;
    for (int i = 0; i < info.rowCount(); ++i)
        names << info.value(i, 1).toLower();
    return names;
}

bool isDigits(const QString &text) {
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return !text.isEmpty();
}

} // namespace

KALOWindow::KALOWindow(Settings userSettings, QWidget *parent, Qt::WindowFlags flags,
                       const QString &databasePath)
    : QMainWindow(parent, flags)
    , settings(std::move(userSettings))
    , status(this) {
    setWindowTitle(QStringLiteral("KALO"));
    // A search is recorded at once; the file is written a moment later, so that typing one search
    // after another does not wait for the disk each time.
    historySaveTimer.setSingleShot(true);
    historySaveTimer.setInterval(1000);
    connect(&historySaveTimer, &QTimer::timeout, this, &KALOWindow::writeChangedSettings);

    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralWidget"));
    pageStack = new QStackedWidget(central);
    pageStack->setObjectName(QStringLiteral("pageStack"));

    const PageContext context{db, status, wordIndex, settings};
    browsePage = new BrowsePage(context, pageStack);
    searchPage = new SearchPage(context, settings.searchHistory, pageStack);
    topPage = new TopPage(context, pageStack);
    bookmarkPage = new BookmarksPage(settings, pageStack);
    optionsPage = new OptionsPage(settings, pageStack);

    tabBar = buildTabBar(central);

    // Tab index = page index.
    pageStack->addWidget(browsePage);   // 0
    pageStack->addWidget(searchPage);   // 1
    pageStack->addWidget(topPage);      // 2
    pageStack->addWidget(bookmarkPage); // 3
    pageStack->addWidget(optionsPage);  // 4

    auto *windowLayout = new QVBoxLayout(central);
    windowLayout->setContentsMargins(0, 0, 0, 0);
    windowLayout->addWidget(tabBar, 0);
    windowLayout->addWidget(pageStack, 10);
    setCentralWidget(central);

    openDatabase(databasePath.isNull() ? foodsDatabasePath() : databasePath);

    detailsDialog = new KALODetailsDialog(settings, this);

    showPage(0);

    status.reportError(db); // a failed open, before anything else touches the database

    loadWordIndex();
    repairBookmarks(settings, [this](const QString &id) { return describeFood(id); });

    connect(tabBar, &QTabBar::currentChanged, this, &KALOWindow::showPage);
    connect(browsePage, &BrowsePage::groupActivated, this, &KALOWindow::populateDataWindow);
    connect(topPage, &TopPage::criterionActivated, this, &KALOWindow::populateTopDataWindow);
    connect(searchPage, &SearchPage::searchRequested, this, &KALOWindow::searchButtonClicked);
    connect(browsePage, &BrowsePage::foodChosen, this, &KALOWindow::itemClicked);
    connect(searchPage, &SearchPage::foodChosen, this, &KALOWindow::itemClicked);
    connect(topPage, &TopPage::foodChosen, this, &KALOWindow::itemClicked);
    connect(bookmarkPage, &BookmarksPage::foodChosen, this, &KALOWindow::itemClicked);
    connect(bookmarkPage, &BookmarksPage::clearRequested, this, &KALOWindow::clearBookmarkItems);
    connect(bookmarkPage, &BookmarksPage::compareRequested, this, &KALOWindow::compareFoods);
    connect(detailsDialog, &KALODetailsDialog::valueChanged, this, &KALOWindow::updateCachedArray);
    connect(detailsDialog, &KALODetailsDialog::bookmarksChanged, this,
            &KALOWindow::writeChangedSettings);
    connect(bookmarkPage, &BookmarksPage::bookmarksChanged, this,
            &KALOWindow::writeChangedSettings);

    fillCombos();
    prepareTopCache();
    populateDataWindow(browsePage->currentGroup());
    if (!startNotice.isEmpty())
        status.showDatabaseError(startNotice);
    savedSettings = settings;
}

KALOWindow::~KALOWindow() {
    readOptions();
    saveSettings(settings);
}

void KALOWindow::saveSettingsNow() {
    readOptions();
    writeChangedSettings();
}

void KALOWindow::writeChangedSettings() {
    historySaveTimer.stop();
    if (settings != savedSettings && saveSettings(settings))
        savedSettings = settings;
}

QTabBar *KALOWindow::buildTabBar(QWidget *parent) {
    auto *bar = new QTabBar(parent);
    bar->setObjectName(QStringLiteral("tabBar"));
    bar->setShape(QTabBar::RoundedNorth);
    bar->setIconSize(QSize(24, 24));
    auto *tabStyle = new CompactTabStyle;
    tabStyle->setParent(bar);
    bar->setStyle(tabStyle);
    bar->setExpanding(false);
    // The tabs show pictures only; the tool tips name the pages for a user who does not know the
    // pictures yet.
    const struct {
        const char *picture;
        const char *name;
    } tabs[] = {
        {"contents.png_", "Browse"},    {"viewmag.png_", "Search"}, {"top50.png_", "Top Foods"},
        {"bookmark.png_", "Bookmarks"}, {"about.png_", "Options"},
    };
    for (const auto &tab : tabs) {
        const int index = bar->addTab(picture(QLatin1String(tab.picture)), QString());
        bar->setTabToolTip(index, QLatin1String(tab.name));
        bar->setAccessibleTabName(index, QLatin1String(tab.name));
    }
    return bar;
}

void KALOWindow::openDatabase(const QString &path) {
    if (!db.open(path, false))
        return;
    // A file without the foods and their groups (an empty file, a foreign database) counts as not
    // opened: one error box at start, instead of one at every query.
    db.exec(QStringLiteral("select FOODS_WR.NDB_No, FOODS_WR.\"desc\", FOODS_WR.FdGrp_Cd, "
                           "FOODS_GROUP.FdGrp_Cd, FOODS_GROUP.FdGrp_Desc from FOODS_WR, "
                           "FOODS_GROUP limit 0"));
    if (db.hasError()) {
        db.close(); // the library's message stays pending for the box
        return;
    }
    startNotice = standInForMissingParts();
}

// The other parts the program reads are stood in for on this connection only, the file staying as
// it is: an empty word dictionary, and a view in front of FOODS_WR that selects NULL for each
// missing column. So every statement runs as written, searches find words as they are typed and a
// missing amount reads as unknown.
QString KALOWindow::standInForMissingParts() {
    QStringList problems;
    QString failure; // a stand-in that could not be made: the library's message
    const QStringList present = columnNames(db, QStringLiteral("FOODS_WR"));
    QString view = QStringLiteral("create temp view FOODS_WR as select *");
    QStringList missing;
    for (const QString &column : optionalFoodColumns()) {
        if (present.contains(column.toLower()))
            continue;
        missing << column;
        view += QStringLiteral(", NULL as \"%1\"").arg(column);
    }
    if (!missing.isEmpty()) {
        db.exec(view + QStringLiteral(" from main.FOODS_WR"));
        failure += db.lastError();
        problems << QStringLiteral("the columns %1 of FOODS_WR (their amounts are unknown)")
                        .arg(missing.join(QStringLiteral(", ")));
    }
    const QStringList words = columnNames(db, QStringLiteral("WORDS_WR"));
    if (!(words.contains(QStringLiteral("wid")) && words.contains(QStringLiteral("text")))) {
        db.exec(QStringLiteral("create temp table WORDS_WR (WID TEXT PRIMARY KEY, TEXT TEXT)"));
        failure += db.lastError();
        problems << QStringLiteral(
            "the word table WORDS_WR (searches look for the words as typed)");
    }
    if (problems.isEmpty())
        return QString();
    QString notice = QStringLiteral("This FOODS.db lacks ") +
                     problems.join(QStringLiteral(" and ")) +
                     QStringLiteral(". Everything else works.");
    if (!failure.isEmpty())
        notice += QStringLiteral("<br>") + failure;
    return notice;
}

QString KALOWindow::describeFood(const QString &foodId) {
    if (!db.isOpen() || !isDigits(foodId))
        return QString();
    const ResultRows rows =
        db.exec(QStringLiteral("select \"desc\" from FOODS_WR where NDB_No=%1").arg(foodId));
    if (db.hasError()) {
        db.lastError(); // the bookmark is then shown by its number
        return QString();
    }
    return rows.isEmpty() ? QString() : expandDescription(rows.value(0, 0), wordIndex);
}

QString KALOWindow::aboutText() {
    // The data actually loaded, as its database names it: an SR release, or the FoodData Central
    // data types and date.
    const DataInfo loaded = db.isOpen() ? DataInfo::read(db) : DataInfo::forSr(14);
    db.lastError();
    const int release = loaded.release();
    const QString what = release != 0 ? QStringLiteral("Release %1 of the USDA Nutrient Database "
                                                       "for Standard Reference")
                                            .arg(release)
                                      : loaded.displayName();
    return QStringLiteral("<qt><b>USDA Nutrient Database </b><br><br>This program provides "
                          "\r\n\taccess to ") +
           what + QStringLiteral(".<br><hr> \r\n\t") +
           QStringLiteral("KALO &copy; 2002 its author.") + QStringLiteral("<br>") +
           QStringLiteral("SQLite by D. Richard Hipp.") + QStringLiteral("</qt>");
}

void KALOWindow::showPage(int index) {
    const bool leavingOptions = pageStack->currentIndex() == 4 && index != 4;
    pageStack->setCurrentIndex(index);
    switch (index) {
    case 0:
        setWindowTitle(QStringLiteral("KALO - Browse"));
        break;
    case 1:
        setWindowTitle(QStringLiteral("KALO - Search"));
        break;
    case 2:
        setWindowTitle(QStringLiteral("KALO - Top Foods"));
        if (topPage->isEmpty() && rankingsAvailable)
            populateTopDataWindow(topPage->currentCriterion());
        break;
    case 3:
        setWindowTitle(QStringLiteral("KALO - Bookmarks"));
        fillBookmarks();
        break;
    case 4:
        setWindowTitle(QStringLiteral("KALO - Options"));
        optionsPage->showSettings(settings);
        if (!optionsPage->hasAboutText())
            optionsPage->setAboutText(aboutText()); // the database is open by now
        break;
    default:
        break;
    }
    if (index != 4)
        readOptions();
    if (leavingOptions)
        writeChangedSettings();
}

void KALOWindow::readOptions() {
    settings.searchHistory = searchPage->history();
    optionsPage->readInto(settings);
}

void KALOWindow::showDatabaseError(const QString &text) {
    status.showDatabaseError(text);
}

void KALOWindow::showProcessing() {
    status.showProcessing();
}

void KALOWindow::hideProcessing() {
    status.hideProcessing();
}

void KALOWindow::fillBookmarks() {
    bookmarkPage->fill();
}

void KALOWindow::loadWordIndex() {
    ResultRows rows;
    if (!db.isOpen() || !status.query(db, wordIndexStatement(), &rows))
        return;
    const int count = rows.rowCount();
    wordIndex.reserve(count);
    for (int i = 0; i < count; ++i)
        wordIndex.insert(rows.value(i, 0), rows.value(i, 1)); // a repeated token: the later wins
}

void KALOWindow::fillCombos() {
    if (!db.isOpen())
        return;
    ResultRows rows;
    if (!status.query(db, groupListStatement(), &rows))
        return;
    QStringList names;
    for (int i = 0; i < rows.rowCount(); ++i)
        names.append(rows.value(i, 1));
    browsePage->setGroups(names);
    searchPage->setGroups(names);
    topPage->setCriteria(names);
}

void KALOWindow::prepareTopCache() {
    if (!db.isOpen())
        return;
    const bool missing = !db.tableExists(topTableName(0)); // as the cache build tells
    ::prepareTopCache(db);
    if (!missing || db.tableExists(topTableName(0)))
        return;
    // Still missing: either no food has the amount ranked first, or the file cannot be written.
    // A write that is rolled back tells which.
    QString failure;
    {
        Transaction check(db);
        failure = db.lastError();
        if (check.isActive()) {
            db.exec(QStringLiteral("create table kalo_write_check (x)"));
            failure = db.lastError();
        }
    }
    if (failure.isNull())
        return;
    rankingsAvailable = false;
    if (!startNotice.isEmpty())
        startNotice += QStringLiteral("<br>");
    startNotice +=
        QStringLiteral("The Top 15 rankings are missing from this FOODS.db and cannot be "
                       "written into it (") +
        failure + QStringLiteral("): the Top Foods page stays empty.");
}

void KALOWindow::populateDataWindow(const QString &category) {
    browsePage->listGroup(category);
}

void KALOWindow::searchButtonClicked() {
    const QString text = searchPage->recordTypedText();
    populateSearchDataWindow(text, searchPage->currentGroup());
    settings.searchHistory = searchPage->history();
    historySaveTimer.start();
}

void KALOWindow::populateSearchDataWindow(const QString &text, const QString &category) {
    searchPage->search(text, category);
}

void KALOWindow::populateTopDataWindow(const QString &label) {
    Q_UNUSED(label); // the criterion is the combo's current index
    if (rankingsAvailable)
        topPage->showRanking();
}

void KALOWindow::itemClicked(const QString &foodId) {
    report = loadFoodReport(db, foodId, wordIndex, normalisedWeight(settings.customWeight));
    if (status.reportError(db))
        return;
    detailsDialog->setView(KALODetailsDialog::defaultView(settings));
    updateCachedArray(0);
    detailsDialog->exec();
    detailsDialog->hide();
    fillBookmarks();
}

void KALOWindow::updateCachedArray(int weightIndex) {
    detailsDialog->setDetails(report, weightIndex);
}

void KALOWindow::compareFoods(const QString &firstId, const QString &secondId) {
    CompareDialog::compare(PageContext{db, status, wordIndex, settings}, firstId, secondId, this);
}

void KALOWindow::clearBookmarkItems() {
    bookmarkPage->clearAll();
}
