// The Browse page: the foods of one food group.
#include "ui/browsepage.h"

#include "db/foodsdatabase.h"
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

void BrowsePage::setGroups(const QList<FoodGroup> &groups) {
    categoryCombo->clear();
    for (const FoodGroup &group : groups)
        categoryCombo->addItem(group.name);
}

QString BrowsePage::currentGroup() const {
    return categoryCombo->currentText();
}

void BrowsePage::listGroup(const QString &name) {
    FoodsDatabase &database = context.foods;
    if (!database.isOpen())
        return;
    categoryCombo->setEnabled(false);
    ResultRows group;
    if (context.status.query(database.connection(), groupCodeStatement(name), &group)) {
        // A name without a group gives a null code, which lists no food.
        const Qt::SortOrder order = browseList->nameOrder();
        auto foods = std::make_unique<FoodStream>(database.connection(), database.words(),
                                                  browseStatement(group.value(0, 0), order), order);
        if (context.status.whileProcessing([&] { return foods->start(); })) {
            browseList->fill(std::move(foods));
            browseList->setExportName(QStringLiteral("Browse"), name);
        } else {
            context.status.showDatabaseError(foods->error());
        }
    }
    categoryCombo->setEnabled(true);
}
