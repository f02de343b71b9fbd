// The Browse page: the foods of one food group.
#include "ui/browsepage.h"

#include "db/sqlitedb.h"
#include "finding/foodstream.h"
#include "finding/statements.h"
#include "ui/choicecombo.h"
#include "ui/foodlist.h"
#include "ui/statuswindows.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

BrowsePage::BrowsePage(const PageContext &pageContext, QWidget *parent)
    : QFrame(parent)
    , context(pageContext) {
    setObjectName(QStringLiteral("browsePage"));
    setFrameStyle(QFrame::NoFrame);

    auto *label = new QLabel(QStringLiteral("Categories:"), this);
    categoryCombo = newChoiceCombo(QStringLiteral("categoryCombo"), this, 180);
    browseList = new FoodList({QStringLiteral("Description ")}, QStringLiteral("browseList"), this);

    auto *page = new QVBoxLayout(this);
    page->setContentsMargins(1, 1, 1, 1);
    auto *row = new QHBoxLayout;
    row->setSpacing(2);
    row->addWidget(label, 1);
    row->addWidget(categoryCombo, 10);
    page->addLayout(row);
    auto *listBox = new QVBoxLayout;
    listBox->addWidget(browseList, 10);
    page->addLayout(listBox);

    connect(categoryCombo, &QComboBox::textActivated, this, &BrowsePage::groupActivated);
    connect(browseList, &FoodList::foodChosen, this, &BrowsePage::foodChosen);
    connect(browseList, &FoodList::fillFailed, this,
            [this](const QString &message) { context.status.showDatabaseError(message); });
}

void BrowsePage::setGroups(const QStringList &names) {
    categoryCombo->clear();
    categoryCombo->addItems(names);
}

QString BrowsePage::currentGroup() const {
    return categoryCombo->currentText();
}

void BrowsePage::listGroup(const QString &name) {
    if (!context.db.isOpen())
        return;
    categoryCombo->setEnabled(false);
    ResultRows group;
    if (context.status.query(context.db, groupCodeStatement(name), &group)) {
        // A name without a group gives a null code, which lists no food.
        const Qt::SortOrder order = browseList->nameOrder();
        auto foods = std::make_unique<FoodStream>(context.db, context.words,
                                                  browseStatement(group.value(0, 0), order), order);
        if (context.status.whileProcessing([&] { return foods->start(); }))
            browseList->fill(std::move(foods));
        else
            context.status.showDatabaseError(foods->error());
    }
    categoryCombo->setEnabled(true);
}
