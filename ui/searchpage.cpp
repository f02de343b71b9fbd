// The Search page: foods found by words of their description, with a history of searched texts.
#include "ui/searchpage.h"

#include "db/foodsdatabase.h"
#include "finding/foodsearch.h"
#include "finding/foodstream.h"
#include "finding/statements.h"
#include "settings/settings.h"
#include "ui/choicecombo.h"
#include "ui/foodlist.h"
#include "ui/statuswindows.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

SearchPage::SearchPage(const PageContext &pageContext, const QStringList &history, QWidget *parent)
    : QFrame(parent)
    , context(pageContext) {
    setObjectName(QStringLiteral("searchPage"));
    setFrameStyle(QFrame::NoFrame);

    searchButton = new QPushButton(QStringLiteral("Search:"), this);
    searchButton->setObjectName(QStringLiteral("searchButton"));
    auto *label = new QLabel(QStringLiteral("category:"), this);
    searchCategoryCombo = newChoiceCombo(QStringLiteral("searchCategoryCombo"), this, 188);
    searchCombo = new QComboBox(this);
    searchCombo->setObjectName(QStringLiteral("searchCombo"));
    searchCombo->setEditable(true);
    // The page keeps its own history: no completion of typed text, no automatic inserts.
    searchCombo->setCompleter(nullptr);
    searchCombo->setInsertPolicy(QComboBox::NoInsert);
    searchCombo->addItems(history);
    searchList = new FoodList({QStringLiteral("Description ")}, QStringLiteral("searchList"), this);

    auto *page = new QVBoxLayout(this);
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

    connect(searchButton, &QPushButton::clicked, this, &SearchPage::searchRequested);
    connect(searchCombo->lineEdit(), &QLineEdit::returnPressed, this, &SearchPage::searchRequested);
    // The line edit reports Return and passes the key on to the combo box, which hands it back to
    // the line edit, which would report it a second time: one search per key press.
    searchCombo->installEventFilter(this);
    connect(searchList, &FoodList::foodChosen, this, &SearchPage::foodChosen);
    connect(searchList, &FoodList::fillFailed, this,
            [this](const QString &message) { context.status.showDatabaseError(message); });
}

bool SearchPage::eventFilter(QObject *watched, QEvent *event) {
    if (watched == searchCombo && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            return true;
    }
    return QFrame::eventFilter(watched, event);
}

void SearchPage::setGroups(const QList<FoodGroup> &groups) {
    searchCategoryCombo->clear();
    for (const FoodGroup &group : groups)
        searchCategoryCombo->addItem(group.name);
    searchCategoryCombo->insertItem(0, allCategoriesName());
    searchCategoryCombo->setCurrentIndex(0);
}

QString SearchPage::currentGroup() const {
    return searchCategoryCombo->currentText();
}

QStringList SearchPage::history() const {
    QStringList items;
    for (int i = 0; i < searchCombo->count(); ++i)
        items.append(searchCombo->itemText(i));
    return items;
}

QString SearchPage::recordTypedText() {
    const QString text = searchCombo->currentText();
    const QStringList items = recordSearch(history(), text);
    searchCombo->clear();
    searchCombo->addItems(items);
    searchCombo->setCurrentIndex(0);
    return text;
}

void SearchPage::setSearchWidgetsEnabled(bool enabled) {
    // Disabled, the search text would hand the keyboard on to the list for good: the user's next
    // words would go there.
    if (!enabled)
        typingInSearch = searchCombo->hasFocus() || searchCombo->lineEdit()->hasFocus();
    searchButton->setEnabled(enabled);
    searchCombo->setEnabled(enabled);
    searchCategoryCombo->setEnabled(enabled);
    if (enabled && typingInSearch)
        searchCombo->setFocus();
}

void SearchPage::search(const QString &text, const QString &group) {
    FoodsDatabase &database = context.foods;
    if (!database.isOpen() || group.isEmpty() || text.isEmpty())
        return;
    setSearchWidgetsEnabled(false);
    // Best Match ranks the rows once all are read, in name order for equal ranks; By Name reads
    // them in the order the list shows, so that the first screen comes first.
    const QStringList rankWords = context.settings.bestMatch ? searchWords(text) : QStringList();
    SearchOptions options;
    options.allWords = context.settings.matchAllWords;
    options.nameOrder = rankWords.isEmpty() ? searchList->nameOrder() : Qt::AscendingOrder;
    std::unique_ptr<FoodStream> foods;
    const bool listed = context.status.whileProcessing([&] {
        const QString sql =
            foodSearchStatement(database, text, group, options, [this](const QString &message) {
                context.status.showDatabaseError(message);
            });
        if (sql.isNull())
            return false;
        foods = std::make_unique<FoodStream>(database.connection(), database.words(), sql,
                                             options.nameOrder, rankWords);
        return foods->start();
    });
    if (listed) {
        searchList->fill(std::move(foods));
        searchList->setExportName(QStringLiteral("Search"), text);
    } else if (foods) {
        context.status.showDatabaseError(foods->error());
    }
    setSearchWidgetsEnabled(true);
}
