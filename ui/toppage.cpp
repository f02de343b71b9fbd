// The Top Foods page: the fifteen foods ranked highest (or lowest) by one nutrient.
#include "ui/toppage.h"

#include "db/foodsdatabase.h"
#include "finding/foodsearch.h"
#include "finding/toprankings.h"
#include "ui/choicecombo.h"
#include "ui/foodlist.h"
#include "ui/statuswindows.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The basis combo's entries and the value column's title for each, in TopBasis order.
const struct {
    const char *entry;
    const char *header;
} bases[] = {
    {"per 100 g", "100g"},
    {"per 100 kcal", "100kcal"},
    {"per serving", "serving"},
};

} // namespace

TopPage::TopPage(const PageContext &pageContext, QWidget *parent)
    : QFrame(parent)
    , context(pageContext) {
    setObjectName(QStringLiteral("topPage"));
    setFrameStyle(QFrame::NoFrame);

    auto *label = new QLabel(QStringLiteral("Top 15:"), this);
    topCombo = newChoiceCombo(QStringLiteral("topCombo"), this);
    topGroupCombo = newChoiceCombo(QStringLiteral("topGroupCombo"), this);
    topBasisCombo = newChoiceCombo(QStringLiteral("topBasisCombo"), this);
    // The bases are short: shown whole, the groups taking the rest of the row.
    topBasisCombo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    for (const auto &basis : bases)
        topBasisCombo->addItem(QLatin1String(basis.entry));
    topList = new FoodList({QStringLiteral("Description "), QStringLiteral("100g")},
                           QStringLiteral("topList"), this);
    coverageLabel = new QLabel(this);
    coverageLabel->setObjectName(QStringLiteral("topCoverageLabel"));
    auto *finderButton = new QPushButton(QStringLiteral("Find by Nutrients…"), this);
    finderButton->setObjectName(QStringLiteral("findByNutrientsButton"));

    auto *page = new QVBoxLayout(this);
    page->setContentsMargins(1, 1, 1, 1);
    auto *row = new QHBoxLayout;
    row->setSpacing(2);
    row->addWidget(label, 1);
    row->addWidget(topCombo, 10);
    page->addLayout(row);
    auto *choices = new QHBoxLayout;
    choices->setSpacing(2);
    choices->addWidget(topGroupCombo, 10);
    choices->addWidget(topBasisCombo, 0);
    page->addLayout(choices);
    auto *listBox = new QVBoxLayout;
    listBox->addWidget(topList, 10);
    page->addLayout(listBox);
    page->addWidget(coverageLabel);
    page->addWidget(finderButton);

    connect(topCombo, &QComboBox::textActivated, this, &TopPage::criterionActivated);
    connect(topGroupCombo, &QComboBox::activated, this, &TopPage::showRanking);
    connect(topBasisCombo, &QComboBox::activated, this, &TopPage::showRanking);
    connect(topList, &FoodList::foodChosen, this, &TopPage::foodChosen);
    connect(finderButton, &QPushButton::clicked, this, &TopPage::finderRequested);
}

void TopPage::setCriteria(const QList<FoodGroup> &groups) {
    for (const TopCriterion &criterion : topCriteria)
        topCombo->addItem(QLatin1String(criterion.label));
    topGroupCombo->clear();
    topGroupCombo->addItem(allCategoriesName()); // no code: all groups
    for (const FoodGroup &group : groups)
        topGroupCombo->addItem(group.name, group.code);
}

QString TopPage::currentCriterion() const {
    return topCombo->currentText();
}

bool TopPage::isEmpty() const {
    return topList->rowCount() == 0;
}

void TopPage::showRanking() {
    // An empty combo (the groups could not be read) offers no criterion to show.
    const int criterion = topCombo->currentIndex();
    FoodsDatabase &foods = context.foods;
    if (!foods.isOpen() || criterion < 0 || criterion >= topCriteriaCount)
        return;
    SQLiteDB &db = foods.connection();
    const int basisIndex = qMax(0, topBasisCombo->currentIndex());
    const auto basis = static_cast<TopBasis>(basisIndex);
    // The chosen group's code, as its entry carries it; null for all groups.
    QString groupCode;
    if (topGroupCombo->currentIndex() > 0)
        groupCode = topGroupCombo->currentData().toString();
    struct Outcome {
        bool ok = false;
        ResultRows foods;
        ResultRows coverage;
    };
    const Outcome outcome = context.status.whileProcessing([&] {
        topCombo->setEnabled(false);
        Outcome found;
        if (!context.status.query(db, topStatement(foods, criterion, groupCode, basis),
                                  &found.foods))
            return found;
        // Without the count the list still stands.
        db.tryRun(topCoverageStatement(criterion, groupCode, foods.hasTable(topCoverageTable())),
                  &found.coverage);
        found.ok = true;
        return found;
    });
    if (outcome.ok) {
        topList->setValueHeader(QLatin1String(bases[basisIndex].header));
        topList->fill(outcome.foods, true, foods.words());
        // The name tells which of the rankings the file holds.
        QString ranking = topCombo->currentText();
        if (!groupCode.isNull())
            ranking += QStringLiteral(", ") + topGroupCombo->currentText();
        if (basisIndex > 0)
            ranking += QStringLiteral(", ") + topBasisCombo->currentText();
        topList->setExportName(QStringLiteral("Top 15"), ranking);
        coverageLabel->setText(
            outcome.coverage.isEmpty()
                ? QString()
                : QStringLiteral("%1 of %2 foods have a figure")
                      .arg(outcome.coverage.value(0, 0), outcome.coverage.value(0, 1)));
    }
    topCombo->setEnabled(true);
}
