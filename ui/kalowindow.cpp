// The main window: five pages behind an icon tab bar, the food database and the details dialog.
#include "ui/kalowindow.h"

#include "db/foodsschema.h"
#include "details/nutrientcatalogue.h"
#include "finding/statements.h"
#include "finding/topcache.h"
#include "platform/installdir.h"
#include "settings/weightrules.h"
#include "ui/bookmarkspage.h"
#include "ui/browsepage.h"
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

} // namespace

KALOWindow::KALOWindow(Settings userSettings, QWidget *parent, Qt::WindowFlags flags)
    : QMainWindow(parent, flags)
    , settings(std::move(userSettings))
    , status(this) {
    setWindowTitle(QStringLiteral("KALO"));

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

    openDatabase();

    detailsDialog = new KALODetailsDialog(settings, this);

    showPage(0);

    status.reportError(db); // a failed open, before anything else touches the database

    loadWordIndex();

    connect(tabBar, &QTabBar::currentChanged, this, &KALOWindow::showPage);
    connect(browsePage, &BrowsePage::groupActivated, this, &KALOWindow::populateDataWindow);
    connect(topPage, &TopPage::criterionActivated, this, &KALOWindow::populateTopDataWindow);
    connect(searchPage, &SearchPage::searchRequested, this, &KALOWindow::searchButtonClicked);
    connect(browsePage, &BrowsePage::foodChosen, this, &KALOWindow::itemClicked);
    connect(searchPage, &SearchPage::foodChosen, this, &KALOWindow::itemClicked);
    connect(topPage, &TopPage::foodChosen, this, &KALOWindow::itemClicked);
    connect(bookmarkPage, &BookmarksPage::foodChosen, this, &KALOWindow::itemClicked);
    connect(bookmarkPage, &BookmarksPage::clearRequested, this, &KALOWindow::clearBookmarkItems);
    connect(detailsDialog, &KALODetailsDialog::valueChanged, this, &KALOWindow::updateCachedArray);

    fillCombos();
    prepareTopCache();
    populateDataWindow(browsePage->currentGroup());
}

KALOWindow::~KALOWindow() {
    readOptions();
    saveSettings(settings);
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

void KALOWindow::openDatabase() {
    db.open(installationDirectory() + QStringLiteral("/pics/kalo/FOODS.db"), false);
    // A file that lacks a table or column the program reads (an empty file, a damaged or foreign
    // database) counts as not opened: one error box at start, instead of one at every query.
    if (db.isOpen()) {
        db.exec(foodsProbeStatement());
        if (db.hasError())
            db.close(); // the library's message stays pending for the box
    }
}

QString KALOWindow::aboutText() {
    // The release of the data actually loaded: the database builder stores it as user_version.
    const int release = db.userVersion();
    return QStringLiteral("<qt><b>USDA Nutrient Database </b><br><br>This program provides "
                          "\r\n\taccess to Release ") +
           QString::number(release != 0 ? release : 14) +
           QStringLiteral(" of the USDA Nutrient Database for Standard Reference.<br><hr> "
                          "\r\n\t") +
           QStringLiteral("KALO &copy; 2002 its author.") + QStringLiteral("<br>") +
           QStringLiteral("SQLite by D. Richard Hipp.") + QStringLiteral("</qt>");
}

void KALOWindow::showPage(int index) {
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
        if (topPage->isEmpty())
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
    ::prepareTopCache(db);
}

void KALOWindow::populateDataWindow(const QString &category) {
    browsePage->listGroup(category);
}

void KALOWindow::searchButtonClicked() {
    const QString text = searchPage->recordTypedText();
    populateSearchDataWindow(text, searchPage->currentGroup());
}

void KALOWindow::populateSearchDataWindow(const QString &text, const QString &category) {
    searchPage->search(text, category);
}

void KALOWindow::populateTopDataWindow(const QString &label) {
    Q_UNUSED(label); // the criterion is the combo's current index
    topPage->showRanking();
}

void KALOWindow::itemClicked(const QString &foodId) {
    report = FoodReport();
    // A number that is not digits only never reaches SQL: it opens like a food with no row.
    const QString statement = detailsStatement(foodId);
    ResultRows rows;
    if (!statement.isNull() && !status.query(db, statement, &rows))
        return;
    report = foodReportFromRow(rows, wordIndex, normalisedWeight(settings.customWeight));
    detailsDialog->setBasicView(settings.basicView);
    updateCachedArray(0);
    detailsDialog->exec();
    detailsDialog->hide();
    fillBookmarks();
}

void KALOWindow::updateCachedArray(int weightIndex) {
    detailsDialog->setDetails(report.id, report.desc, basicReportText(report, weightIndex),
                              detailedReportText(report, weightIndex), report.weightNames,
                              report.weights, weightIndex);
}

void KALOWindow::clearBookmarkItems() {
    bookmarkPage->clearAll();
}
