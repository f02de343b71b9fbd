// The main window: construction, page switching and options.
#include "app/kalowindow.h"

#include "app/settings.h"
#include "db/foodsschema.h"
#include "details/kalodetailsdialog.h"
#include "platform/cnumber.h"
#include "platform/qpeapplication.h"

#include <QComboBox>
#include <QDoubleValidator>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QProxyStyle>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cmath>

namespace {

// A picture below the installation directory, loaded by content (the ".png_" ending names no
// format). A missing file gives a null icon, which leaves its tab or button bare.
QIcon picture(const char *relativePath) {
    const QPixmap pixmap(QPEApplication::qpeDir() + QLatin1String(relativePath));
    return pixmap.isNull() ? QIcon() : QIcon(pixmap);
}

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

QTreeWidget *newFoodList(QWidget *parent, const char *name) {
    auto *list = new QTreeWidget(parent);
    list->setObjectName(QLatin1String(name));
    list->setAllColumnsShowFocus(true);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setSortingEnabled(true);
    return list;
}

// A list with the one column "Description ", sorted by it.
QTreeWidget *newDescriptionList(QWidget *parent, const char *name) {
    QTreeWidget *list = newFoodList(parent, name);
    list->setHeaderLabels({QStringLiteral("Description ")});
    list->setColumnWidth(0, 320);
    list->sortByColumn(0, Qt::AscendingOrder);
    return list;
}

// A choice among long names: sized by the layout, not by its longest item, so that it fits a
// handheld screen; the open list still shows the names in full.
void fitToLayout(QComboBox *combo) {
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(8);
}

// A decimal comma, as many languages write it, is taken for the decimal point. The C locale's
// validator would read it as a thousands separator and, when the field loses the focus, drop it:
// 12,5 would become 125 g.
class WeightValidator : public QDoubleValidator {
public:
    using QDoubleValidator::QDoubleValidator;
    State validate(QString &input, int &pos) const override {
        input.replace(QLatin1Char(','), QLatin1Char('.'));
        return QDoubleValidator::validate(input, pos);
    }
};

QString weightText(double grams) {
    return QString::asprintf("%.2f", grams);
}

} // namespace

KALOWindow::KALOWindow(QWidget *parent, Qt::WindowFlags flags)
    : QMainWindow(parent, flags) {
    setWindowTitle(QStringLiteral("KALO"));
    processingLabel = nullptr;

    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralWidget"));
    pageStack = new QStackedWidget(central);
    pageStack->setObjectName(QStringLiteral("pageStack"));
    reportValues.fill(0.0, 25);

    buildBrowsePage();
    buildSearchPage();
    buildTopPage();
    buildBookmarkPage();
    buildOptionsPage();

    tabBar = new QTabBar(central);
    tabBar->setObjectName(QStringLiteral("tabBar"));
    tabBar->setShape(QTabBar::RoundedNorth);
    tabBar->setIconSize(QSize(24, 24));
    auto *tabStyle = new CompactTabStyle;
    tabStyle->setParent(tabBar);
    tabBar->setStyle(tabStyle);
    tabBar->setExpanding(false);
    // Tab index = page index. The texts stay empty: the tabs show pictures only; the tool tips
    // name the pages for a user who does not know the pictures yet.
    const struct {
        const char *path;
        const char *name;
    } tabs[] = {
        {"pics/kalo/graphics/contents.png_", "Browse"},
        {"pics/kalo/graphics/viewmag.png_", "Search"},
        {"pics/kalo/graphics/top50.png_", "Top Foods"},
        {"pics/kalo/graphics/bookmark.png_", "Bookmarks"},
        {"pics/kalo/graphics/about.png_", "Options"},
    };
    for (const auto &tab : tabs) {
        const int index = tabBar->addTab(picture(tab.path), QString());
        tabBar->setTabToolTip(index, QLatin1String(tab.name));
        tabBar->setAccessibleTabName(index, QLatin1String(tab.name));
    }

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

    db.open(QPEApplication::qpeDir() + QStringLiteral("/pics/kalo/FOODS.db"), false);
    // A file that lacks a table or column the program reads (an empty file, a damaged or foreign
    // database) counts as not opened: one error box now, instead of one at every query.
    if (db.isOpen()) {
        db.exec(foodsProbeStatement());
        if (db.hasError())
            db.close(); // the library's message stays pending for the box below
    }

    detailsDialog = new KALODetailsDialog(this);

    showPage(0);

    if (db.hasError())
        showDatabaseError(db.lastError());

    loadWordIndex();

    connect(tabBar, &QTabBar::currentChanged, this, &KALOWindow::showPage);
    connect(categoryCombo, &QComboBox::textActivated, this, &KALOWindow::populateDataWindow);
    connect(topCombo, &QComboBox::textActivated, this, &KALOWindow::populateTopDataWindow);
    connect(searchButton, &QPushButton::clicked, this, &KALOWindow::searchButtonClicked);
    connect(searchCombo->lineEdit(), &QLineEdit::returnPressed, this,
            &KALOWindow::searchButtonClicked);
    for (QTreeWidget *list : {browseList, searchList, topList, bookmarkList}) {
        connect(list, &QTreeWidget::itemClicked, this,
                [this](QTreeWidgetItem *item, int) { itemClicked(item); });
        // Return or Enter opens the current food, as a click on it does.
        for (const QKeySequence &key :
             {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}) {
            auto *shortcut = new QShortcut(key, list);
            shortcut->setContext(Qt::WidgetWithChildrenShortcut);
            connect(shortcut, &QShortcut::activated, this,
                    [this, list]() { itemClicked(list->currentItem()); });
        }
    }
    connect(clearBookmarksButton, &QToolButton::clicked, this, &KALOWindow::clearBookmarkItems);
    connect(detailsDialog, &KALODetailsDialog::valueChanged, this, &KALOWindow::updateCachedArray);

    fillCombos();
    prepareTopCache();
    populateDataWindow(categoryCombo->currentText());
}

KALOWindow::~KALOWindow() {
    readOptions();
    saveSettings();
    // The processing window has no parent widget, so nothing else deletes it; it goes with the
    // window that made it, which for the program is at the end of the process.
    delete processingLabel;
}

QWidget *KALOWindow::buildBrowsePage() {
    browsePage = new QFrame(pageStack);
    browsePage->setObjectName(QStringLiteral("browsePage"));
    browsePage->setFrameStyle(QFrame::NoFrame);

    auto *label = new QLabel(QStringLiteral("Categories:"), browsePage);
    categoryCombo = new QComboBox(browsePage);
    categoryCombo->setObjectName(QStringLiteral("categoryCombo"));
    categoryCombo->setEditable(false);
    fitToLayout(categoryCombo);
    categoryCombo->setMaximumWidth(180);
    browseList = newDescriptionList(browsePage, "browseList");

    auto *page = new QVBoxLayout(browsePage);
    page->setContentsMargins(1, 1, 1, 1);
    auto *row = new QHBoxLayout;
    row->setSpacing(2);
    row->addWidget(label, 1);
    row->addWidget(categoryCombo, 10);
    page->addLayout(row);
    auto *listBox = new QVBoxLayout;
    listBox->addWidget(browseList, 10);
    page->addLayout(listBox);
    return browsePage;
}

QWidget *KALOWindow::buildSearchPage() {
    searchPage = new QFrame(pageStack);
    searchPage->setObjectName(QStringLiteral("searchPage"));
    searchPage->setFrameStyle(QFrame::NoFrame);

    searchButton = new QPushButton(QStringLiteral("Search:"), searchPage);
    searchButton->setObjectName(QStringLiteral("searchButton"));
    auto *label = new QLabel(QStringLiteral("category:"), searchPage);
    searchCategoryCombo = new QComboBox(searchPage);
    searchCategoryCombo->setObjectName(QStringLiteral("searchCategoryCombo"));
    searchCategoryCombo->setEditable(false);
    fitToLayout(searchCategoryCombo);
    searchCategoryCombo->setMaximumWidth(188);
    searchCombo = new QComboBox(searchPage);
    searchCombo->setObjectName(QStringLiteral("searchCombo"));
    searchCombo->setEditable(true);
    // The program keeps its own history: no completion of typed text, no automatic inserts.
    searchCombo->setCompleter(nullptr);
    searchCombo->setInsertPolicy(QComboBox::NoInsert);
    searchCombo->addItems(settings.searchHistory);
    searchList = newDescriptionList(searchPage, "searchList");

    auto *page = new QVBoxLayout(searchPage);
    page->setContentsMargins(1, 1, 1, 1);
    auto *grid = new QGridLayout;
    grid->setSpacing(2);
    grid->setColumnStretch(0, 0);
    grid->setColumnStretch(1, 10);
    grid->addWidget(searchButton, 0, 0);
    grid->addWidget(searchCombo, 0, 1);
    grid->addWidget(label, 1, 0);
    // In a box of its own with room beside it, the narrow group combo does not cap the width of
    // the column it shares with the search text; otherwise a wide window would give that room to
    // the button.
    auto *categoryRow = new QHBoxLayout;
    categoryRow->setSpacing(0);
    categoryRow->addWidget(searchCategoryCombo, 1);
    categoryRow->addStretch(0);
    grid->addLayout(categoryRow, 1, 1);
    page->addLayout(grid);
    page->addWidget(searchList, 10);
    return searchPage;
}

QWidget *KALOWindow::buildTopPage() {
    topPage = new QFrame(pageStack);
    topPage->setObjectName(QStringLiteral("topPage"));
    topPage->setFrameStyle(QFrame::NoFrame);

    auto *label = new QLabel(QStringLiteral("Top 15:"), topPage);
    topCombo = new QComboBox(topPage);
    topCombo->setObjectName(QStringLiteral("topCombo"));
    topCombo->setEditable(false);
    fitToLayout(topCombo);
    topList = newFoodList(topPage, "topList");
    topList->setHeaderLabels({QStringLiteral("Description "), QStringLiteral("100g")});
    topList->setColumnWidth(0, 160);
    topList->setColumnWidth(1, 56);
    topList->headerItem()->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    topList->sortByColumn(1, Qt::DescendingOrder);
    // The amounts keep their width and the descriptions take the rest of a wider window, rather
    // than the amounts' column growing into empty space.
    topList->header()->setStretchLastSection(false);
    topList->header()->setSectionResizeMode(0, QHeaderView::Stretch);

    auto *page = new QVBoxLayout(topPage);
    page->setContentsMargins(1, 1, 1, 1);
    auto *row = new QHBoxLayout;
    row->setSpacing(2);
    row->addWidget(label, 1);
    row->addWidget(topCombo, 10);
    page->addLayout(row);
    auto *listBox = new QVBoxLayout;
    listBox->addWidget(topList, 10);
    page->addLayout(listBox);
    return topPage;
}

QWidget *KALOWindow::buildBookmarkPage() {
    bookmarkPage = new QFrame(pageStack);
    bookmarkPage->setObjectName(QStringLiteral("bookmarkPage"));
    bookmarkPage->setFrameStyle(QFrame::NoFrame);

    clearBookmarksButton = new QToolButton(bookmarkPage);
    clearBookmarksButton->setObjectName(QStringLiteral("clearBookmarksButton"));
    clearBookmarksButton->setAutoRaise(true);
    clearBookmarksButton->setIcon(picture("pics/kalo/graphics/remove.png_"));
    clearBookmarksButton->setIconSize(QSize(20, 20));
    clearBookmarksButton->setToolTip(QStringLiteral("Delete all bookmarks"));
    bookmarkList = newDescriptionList(bookmarkPage, "bookmarkList");

    auto *page = new QVBoxLayout(bookmarkPage);
    page->setContentsMargins(1, 1, 1, 1);
    auto *row = new QHBoxLayout;
    row->setSpacing(2);
    row->addWidget(clearBookmarksButton, 0);
    row->addStretch(10);
    page->addLayout(row);
    auto *listBox = new QVBoxLayout;
    listBox->addWidget(bookmarkList, 10);
    page->addLayout(listBox);
    return bookmarkPage;
}

QWidget *KALOWindow::buildOptionsPage() {
    optionsPage = new QFrame(pageStack);
    optionsPage->setObjectName(QStringLiteral("optionsPage"));
    optionsPage->setFrameStyle(QFrame::NoFrame);

    auto *weightBox = new QGroupBox(QStringLiteral("Custom Weight"), optionsPage);
    weightEdit = new QLineEdit(weightBox);
    weightEdit->setObjectName(QStringLiteral("weightEdit"));
    weightEdit->setAlignment(Qt::AlignRight);
    auto *validator = new WeightValidator(weightEdit);
    validator->setLocale(QLocale::c()); // a decimal point whatever the user's locale
    weightEdit->setValidator(validator);
    weightEdit->setText(weightText(settings.customWeight));
    auto *grams = new QLabel(QStringLiteral("Grams"), weightBox);
    auto *weightLayout = new QHBoxLayout(weightBox);
    weightLayout->addWidget(weightEdit);
    weightLayout->addWidget(grams);

    auto *viewBox = new QGroupBox(QStringLiteral("Default View Size"), optionsPage);
    viewSizeCombo = new QComboBox(viewBox);
    viewSizeCombo->setObjectName(QStringLiteral("viewSizeCombo"));
    viewSizeCombo->setEditable(false);
    viewSizeCombo->addItem(QStringLiteral("Basic View"));
    viewSizeCombo->addItem(QStringLiteral("Expanded View"));
    viewSizeCombo->setCurrentIndex(settings.basicView ? 0 : 1);
    auto *viewLayout = new QHBoxLayout(viewBox);
    viewLayout->addWidget(viewSizeCombo);

    auto *aboutBox = new QGroupBox(optionsPage);
    // On a small screen the text may be taller than the room left for it: let it scroll.
    auto *aboutScroll = new QScrollArea(aboutBox);
    aboutScroll->setFrameStyle(QFrame::NoFrame);
    aboutScroll->setWidgetResizable(true);
    aboutScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The text comes when the page is first shown (showPage): laying out wrapped rich text is a
    // good part of the window's start, and the page is seldom opened.
    auto *about = new QLabel;
    about->setObjectName(QStringLiteral("aboutLabel"));
    about->setTextFormat(Qt::RichText);
    about->setWordWrap(true);
    about->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    aboutScroll->setWidget(about);
    auto *aboutLayout = new QHBoxLayout(aboutBox);
    aboutLayout->setContentsMargins(4, 4, 4, 4);
    aboutLayout->addWidget(aboutScroll);

    auto *page = new QVBoxLayout(optionsPage);
    page->setContentsMargins(4, 4, 4, 4);
    page->addWidget(weightBox, 0);
    page->addWidget(viewBox, 0);
    page->addWidget(aboutBox, 10);
    return optionsPage;
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
        if (topList->topLevelItemCount() == 0)
            populateTopDataWindow(topCombo->currentText());
        break;
    case 3:
        setWindowTitle(QStringLiteral("KALO - Bookmarks"));
        fillBookmarks();
        break;
    case 4:
        setWindowTitle(QStringLiteral("KALO - Options"));
        weightEdit->setText(weightText(settings.customWeight));
        viewSizeCombo->setCurrentIndex(settings.basicView ? 0 : 1);
        if (auto *about = optionsPage->findChild<QLabel *>(QStringLiteral("aboutLabel"));
            about && about->text().isEmpty())
            about->setText(aboutText()); // the database is open by now: it names the release
        break;
    default:
        break;
    }
    if (index != 4)
        readOptions();
}

void KALOWindow::readOptions() {
    settings.searchHistory.clear();
    for (int i = 0; i < searchCombo->count(); ++i)
        settings.searchHistory.append(searchCombo->itemText(i));
    settings.customWeight = cStrtod(weightEdit->text());
    settings.basicView = viewSizeCombo->currentIndex() == 0;
    // No number, zero, and a value that is not finite (an overflowing entry, "inf" or "nan" from
    // a hand-edited file) all mean the default serving; a negative weight counts as positive.
    if (!std::isfinite(settings.customWeight) || settings.customWeight == 0.0)
        settings.customWeight = 100.0;
    else if (settings.customWeight < 0.0)
        settings.customWeight = std::fabs(settings.customWeight);
}
