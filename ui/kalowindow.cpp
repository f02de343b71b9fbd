// The main window: five pages behind an icon tab bar, the food database and the details dialog.
#include "ui/kalowindow.h"

#include "finding/topcache.h"
#include "finding/toprankings.h"
#include "platform/databaselocation.h"
#include "settings/bookmarks.h"
#include "settings/weightrules.h"
#include "ui/bookmarkspage.h"
#include "ui/browsepage.h"
#include "ui/comparedialog.h"
#include "ui/finderdialog.h"
#include "ui/kalodetailsdialog.h"
#include "ui/optionspage.h"
#include "ui/pictures.h"
#include "ui/searchpage.h"
#include "ui/toppage.h"

#include <QEvent>
#include <QProxyStyle>
#include <QScrollArea>
#include <QShortcut>
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

    // Tab index = page index. The other pages follow (buildPages).
    browsePage = new BrowsePage(PageContext{foods, status, settings}, pageStack);
    pageStack->addWidget(browsePage); // 0

    tabBar = buildTabBar(central);

    auto *windowLayout = new QVBoxLayout(central);
    windowLayout->setContentsMargins(0, 0, 0, 0);
    windowLayout->addWidget(tabBar, 0);
    windowLayout->addWidget(pageStack, 10);
    setCentralWidget(central);

    foods.open(databasePath.isNull() ? foodsDatabasePath() : databasePath);
    startNotice = foods.missingParts();

    detailsDialog = new KALODetailsDialog(settings, this);

    showPage(0);

    // a failed open, before anything else touches the database
    status.reportError(foods.connection());

    loadWordIndex();
    repairBookmarks(settings, [this](const QString &id) { return foods.description(id); });

    connect(tabBar, &QTabBar::currentChanged, this, &KALOWindow::showPage);
    connect(browsePage, &BrowsePage::groupActivated, this, &KALOWindow::populateDataWindow);
    connect(browsePage, &BrowsePage::foodChosen, this, &KALOWindow::itemClicked);
    auto *finderKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F), this);
    connect(finderKey, &QShortcut::activated, this, &KALOWindow::openFinder);
    connect(detailsDialog, &KALODetailsDialog::valueChanged, this, &KALOWindow::updateCachedArray);
    connect(detailsDialog, &KALODetailsDialog::bookmarksChanged, this,
            &KALOWindow::writeChangedSettings);

    fillCombos();
    prepareTopCache();
    populateDataWindow(browsePage->currentGroup());
    if (!startNotice.isEmpty())
        status.showDatabaseError(startNotice);
    savedSettings = settings;
}

void KALOWindow::buildPages() {
    if (searchPage)
        return;
    const PageContext context{foods, status, settings};
    searchPage = new SearchPage(context, settings.searchHistory, pageStack);
    topPage = new TopPage(context, pageStack);
    bookmarkPage = new BookmarksPage(settings, pageStack);
    optionsPage = new OptionsPage(settings, pageStack);
    // The options are taller than a handheld screen: they scroll instead of stretching the window.
    auto *optionsArea = new QScrollArea(pageStack);
    optionsArea->setObjectName(QStringLiteral("optionsArea"));
    optionsArea->setFrameShape(QFrame::NoFrame);
    optionsArea->setWidgetResizable(true);
    optionsArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    optionsArea->setWidget(optionsPage);
    pageStack->addWidget(searchPage);   // 1
    pageStack->addWidget(topPage);      // 2
    pageStack->addWidget(bookmarkPage); // 3
    pageStack->addWidget(optionsArea);  // 4
    if (groupsLoaded) {
        searchPage->setGroups(foods.groups());
        topPage->setCriteria(foods.groups());
    }
    connect(topPage, &TopPage::criterionActivated, this, &KALOWindow::populateTopDataWindow);
    connect(searchPage, &SearchPage::searchRequested, this, &KALOWindow::searchButtonClicked);
    connect(searchPage, &SearchPage::foodChosen, this, &KALOWindow::itemClicked);
    connect(topPage, &TopPage::foodChosen, this, &KALOWindow::itemClicked);
    connect(topPage, &TopPage::finderRequested, this, &KALOWindow::openFinder);
    connect(bookmarkPage, &BookmarksPage::foodChosen, this, &KALOWindow::itemClicked);
    connect(bookmarkPage, &BookmarksPage::clearRequested, this, &KALOWindow::clearBookmarkItems);
    connect(bookmarkPage, &BookmarksPage::compareRequested, this, &KALOWindow::compareFoods);
    connect(bookmarkPage, &BookmarksPage::bookmarksChanged, this,
            &KALOWindow::writeChangedSettings);
}

bool KALOWindow::event(QEvent *event) {
    // The pages not shown first are built a moment after the first screen is on the display,
    // which they would otherwise hold back; a tab chosen before that builds them at once.
    if (event->type() == QEvent::Paint && !pagesScheduled) {
        pagesScheduled = true;
        QTimer::singleShot(50, this, &KALOWindow::buildPages);
    }
    return QMainWindow::event(event);
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

QString KALOWindow::aboutText() {
    // The data actually loaded, as its database names it: an SR release, or the FoodData Central
    // data types and date.
    const DataInfo &loaded = foods.dataInfo();
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
    if (index != 0)
        buildPages();
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
    if (!optionsPage) {
        normaliseOptions(settings); // what the page would read back
        return;
    }
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
    if (bookmarkPage)
        bookmarkPage->fill();
}

void KALOWindow::loadWordIndex() {
    if (!foods.loadWords())
        status.reportError(foods.connection());
}

void KALOWindow::fillCombos() {
    if (!foods.isOpen())
        return;
    if (!foods.loadGroups()) {
        status.reportError(foods.connection());
        return;
    }
    groupsLoaded = true;
    browsePage->setGroups(foods.groups());
    if (searchPage) {
        searchPage->setGroups(foods.groups());
        topPage->setCriteria(foods.groups());
    }
}

void KALOWindow::prepareTopCache() {
    if (!foods.isOpen())
        return;
    ::prepareTopCache(foods);
    // Still missing: either no food has the amount ranked first, or the file cannot be written.
    if (foods.hasTable(topTableName(0)) || foods.isWritable())
        return;
    rankingsAvailable = false;
    if (!startNotice.isEmpty())
        startNotice += QStringLiteral("<br>");
    startNotice +=
        QStringLiteral("The Top 15 rankings are missing from this FOODS.db and cannot be "
                       "written into it (") +
        foods.writeFailure() + QStringLiteral("): the Top Foods page stays empty.");
}

void KALOWindow::populateDataWindow(const QString &category) {
    browsePage->listGroup(category);
}

void KALOWindow::searchButtonClicked() {
    buildPages();
    const QString text = searchPage->recordTypedText();
    populateSearchDataWindow(text, searchPage->currentGroup());
    settings.searchHistory = searchPage->history();
    historySaveTimer.start();
}

void KALOWindow::populateSearchDataWindow(const QString &text, const QString &category) {
    buildPages();
    searchPage->search(text, category);
}

void KALOWindow::populateTopDataWindow(const QString &label) {
    Q_UNUSED(label); // the criterion is the combo's current index
    buildPages();
    if (rankingsAvailable)
        topPage->showRanking();
}

void KALOWindow::itemClicked(const QString &foodId) {
    report =
        loadFoodReport(foods, foodId, normalisedWeight(settings.customWeight), settings.showRanges);
    if (status.reportError(foods.connection()))
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
    CompareDialog::compare(PageContext{foods, status, settings}, firstId, secondId, this);
}

void KALOWindow::openFinder() {
    if (!finderDialog) {
        finderDialog =
            new FinderDialog(PageContext{foods, status, settings}, settings.finder, this);
        connect(finderDialog, &FinderDialog::foodChosen, this, &KALOWindow::itemClicked);
        connect(finderDialog, &FinderDialog::choicesChanged, this, [this] {
            settings.finder = finderDialog->choices();
            historySaveTimer.start();
        });
    }
    finderDialog->show();
    finderDialog->raise();
    finderDialog->activateWindow();
}

void KALOWindow::clearBookmarkItems() {
    buildPages();
    bookmarkPage->clearAll();
}
