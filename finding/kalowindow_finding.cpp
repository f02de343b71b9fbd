// The main window's finding operations: word index, list filling, browsing, search, Top 15.
#include "app/kalowindow.h"

#include "finding/foodlistitem.h"
#include "finding/statements.h"
#include "finding/topcache.h"
#include "finding/topcriteria.h"

#include <QComboBox>
#include <QHeaderView>
#include <QPushButton>
#include <QSet>
#include <QTreeWidget>

namespace {

const QString allCategories = QStringLiteral("All Categories");

} // namespace

void KALOWindow::loadWordIndex() {
    if (!db.isOpen())
        return;
    const ResultRows rows = db.exec(wordIndexStatement());
    if (db.hasError()) {
        showDatabaseError(db.lastError());
        return;
    }
    const int count = rows.rowCount();
    wordIndex.reserve(count);
    for (int i = 0; i < count; ++i)
        wordIndex.insert(rows.value(i, 0), rows.value(i, 1)); // a repeated token: the later wins
}

QString KALOWindow::expandDescription(const QString &stored) const {
    return ::expandDescription(stored, wordIndex);
}

void KALOWindow::fillFoodList(QTreeWidget *list, const ResultRows &rows, bool withValue) {
    list->setEnabled(false);
    // Thousands of rows: no sorting and no painting while they go in, then one sort at the end.
    list->setUpdatesEnabled(false);
    list->setSortingEnabled(false);
    list->clear();
    const int count = rows.rowCount();
    QList<QTreeWidgetItem *> items;
    items.reserve(count);
    for (int i = 0; i < count; ++i)
        items.append(new FoodListItem(nullptr, rows.value(i, 0),
                                      expandDescription(rows.value(i, 1)),
                                      withValue ? rows.value(i, 2) : QString()));
    list->addTopLevelItems(items);
    // Switching sorting on sorts once, by the header's indicator (which would start descending):
    // the amounts largest first, descriptions in ascending order.
    if (withValue)
        list->header()->setSortIndicator(1, Qt::DescendingOrder);
    else
        list->header()->setSortIndicator(0, Qt::AscendingOrder);
    list->setSortingEnabled(true);
    list->setUpdatesEnabled(true);
    list->setEnabled(true);
}

void KALOWindow::fillCombos() {
    if (!db.isOpen())
        return;
    categoryCombo->clear();
    searchCategoryCombo->clear();
    const ResultRows rows = db.exec(groupListStatement());
    if (db.hasError()) {
        showDatabaseError(db.lastError());
        return;
    }
    for (int i = 0; i < rows.rowCount(); ++i) {
        categoryCombo->addItem(rows.value(i, 1));
        searchCategoryCombo->addItem(rows.value(i, 1));
    }
    searchCategoryCombo->insertItem(0, allCategories);
    searchCategoryCombo->setCurrentIndex(0);
    for (const char *label : topLabels)
        topCombo->addItem(QLatin1String(label));
}

void KALOWindow::prepareTopCache() {
    ::prepareTopCache(db);
}

void KALOWindow::populateDataWindow(const QString &category) {
    if (!db.isOpen())
        return;
    categoryCombo->setEnabled(false);
    const ResultRows group = db.exec(groupCodeStatement(category));
    if (db.hasError()) {
        showDatabaseError(db.lastError());
        categoryCombo->setEnabled(true);
        return;
    }
    // A name without a group gives a null code, which lists no food.
    const QString sql = browseStatement(group.value(0, 0));

    showProcessing();
    letEventsRun();
    const ResultRows foods = db.exec(sql);
    hideProcessing();
    letEventsRun();

    if (db.hasError())
        showDatabaseError(db.lastError());
    else
        fillFoodList(browseList, foods, false);
    categoryCombo->setEnabled(true);
}

void KALOWindow::searchButtonClicked() {
    const QString text = searchCombo->currentText();
    const QString upper = text.toUpper();
    for (int i = 0; i < searchCombo->count(); ++i) {
        if (searchCombo->itemText(i).toUpper() == upper) {
            searchCombo->removeItem(i);
            break;
        }
    }
    if (searchCombo->count() > 16)
        searchCombo->removeItem(searchCombo->count() - 1);
    searchCombo->insertItem(0, text);
    searchCombo->setCurrentIndex(0);
    populateSearchDataWindow(text, searchCategoryCombo->currentText());
}

void KALOWindow::populateSearchDataWindow(const QString &text, const QString &category) {
    if (!db.isOpen() || category.isEmpty() || text.isEmpty())
        return;
    searchButton->setEnabled(false);
    searchCombo->setEnabled(false);
    searchCategoryCombo->setEnabled(false);

    const QStringList words = searchWords(text);
    bool restricted = false;
    QString groupCode;

    showProcessing();
    letEventsRun();

    if (category != allCategories) {
        const ResultRows group = db.exec(groupCodeStatement(category));
        if (db.hasError()) {
            showDatabaseError(db.lastError()); // then the search runs over all groups
        } else {
            groupCode = group.value(0, 0);
            restricted = true;
        }
    }

    // Each word is searched for as its dictionary token when it has one, else as plain text.
    QStringList terms;
    // A word or term given again adds nothing to the result: each is looked up and searched
    // once, so a text that repeats a word neither repeats its look-ups nor outgrows the library's
    // limit on the size of a condition.
    QSet<QString> seenWords;
    QSet<QString> seenTerms;
    for (const QString &word : words) {
        if (seenWords.contains(word))
            continue;
        seenWords.insert(word);
        const ResultRows token = db.exec(wordLookupStatement(word));
        if (db.hasError()) {
            showDatabaseError(db.lastError()); // the word is left out
            continue;
        }
        const QString term = token.isEmpty() ? word : token.value(0, 0);
        if (!seenTerms.contains(term)) {
            seenTerms.insert(term);
            terms.append(term);
        }
    }

    // Words that all failed their look-up leave no condition, which would list every food.
    const bool search = terms.size() > 0 || words.isEmpty();
    ResultRows foods;
    if (search)
        foods = db.exec(searchStatement(searchCondition(restricted, groupCode, terms)));

    hideProcessing();
    letEventsRun();

    if (search) {
        if (db.hasError())
            showDatabaseError(db.lastError());
        else
            fillFoodList(searchList, foods, false);
    }
    searchButton->setEnabled(true);
    searchCombo->setEnabled(true);
    searchCategoryCombo->setEnabled(true);
}

void KALOWindow::populateTopDataWindow(const QString &label) {
    Q_UNUSED(label); // the criterion is the combo's current index
    // An empty combo (the groups could not be read) offers no criterion to show.
    if (!db.isOpen() || topCombo->count() == 0)
        return;

    showProcessing();
    letEventsRun();
    topCombo->setEnabled(false);
    const int criterion = topCombo->currentIndex();
    ResultRows foods;
    const bool valid = criterion >= 0 && criterion < topCriteriaCount;
    if (valid)
        foods = db.exec(topListStatement(criterion));
    hideProcessing();
    letEventsRun();

    if (valid) {
        if (db.hasError())
            showDatabaseError(db.lastError());
        else
            fillFoodList(topList, foods, true);
    }
    topCombo->setEnabled(true);
}
