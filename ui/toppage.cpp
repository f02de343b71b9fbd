// The Top Foods page: the fifteen foods ranked highest (or lowest) by one nutrient.
#include "ui/toppage.h"

#include "db/sqlitedb.h"
#include "finding/statements.h"
#include "finding/topcriteria.h"
#include "ui/choicecombo.h"
#include "ui/foodlist.h"
#include "ui/statuswindows.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

TopPage::TopPage(const PageContext &pageContext, QWidget *parent)
    : QFrame(parent)
    , context(pageContext) {
    setObjectName(QStringLiteral("topPage"));
    setFrameStyle(QFrame::NoFrame);

    auto *label = new QLabel(QStringLiteral("Top 15:"), this);
    topCombo = newChoiceCombo(QStringLiteral("topCombo"), this);
    topList = new FoodList({QStringLiteral("Description "), QStringLiteral("100g")},
                           QStringLiteral("topList"), this);

    auto *page = new QVBoxLayout(this);
    page->setContentsMargins(1, 1, 1, 1);
    auto *row = new QHBoxLayout;
    row->setSpacing(2);
    row->addWidget(label, 1);
    row->addWidget(topCombo, 10);
    page->addLayout(row);
    auto *listBox = new QVBoxLayout;
    listBox->addWidget(topList, 10);
    page->addLayout(listBox);

    connect(topCombo, &QComboBox::textActivated, this, &TopPage::criterionActivated);
    connect(topList, &FoodList::foodChosen, this, &TopPage::foodChosen);
}

void TopPage::setCriteria() {
    for (const char *label : topLabels)
        topCombo->addItem(QLatin1String(label));
}

QString TopPage::currentCriterion() const {
    return topCombo->currentText();
}

bool TopPage::isEmpty() const {
    return topList->topLevelItemCount() == 0;
}

void TopPage::showRanking() {
    // An empty combo (the groups could not be read) offers no criterion to show.
    if (!context.db.isOpen() || topCombo->count() == 0)
        return;
    const ResultRows foods = context.status.whileProcessing([&] {
        topCombo->setEnabled(false);
        const int criterion = topCombo->currentIndex();
        return criterion >= 0 && criterion < topCriteriaCount
                   ? context.db.exec(topListStatement(criterion))
                   : ResultRows();
    });
    if (!context.status.reportError(context.db))
        topList->fill(foods, true, context.words);
    topCombo->setEnabled(true);
}
