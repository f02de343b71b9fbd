// The Find by Nutrients dialog: the foods that meet several conditions on their nutrients at once.
#include "ui/finderdialog.h"

#include "db/foodsdatabase.h"
#include "details/finderchoices.h"
#include "finding/finderstream.h"
#include "finding/foodsearch.h"
#include "settings/settings.h"
#include "ui/choicecombo.h"
#include "ui/foodlist.h"
#include "ui/statuswindows.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QStandardItemModel>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int numberRole = Qt::UserRole;
constexpr int unitRole = Qt::UserRole + 1;

} // namespace

FinderDialog::FinderDialog(const PageContext &pageContext, const FinderSettings &stored,
                           QWidget *parent)
    : QDialog(parent)
    , context(pageContext)
    , nutrients(finderChoices(pageContext.foods))
    , schema(finderSchema(pageContext.foods)) {
    setObjectName(QStringLiteral("findByNutrients"));
    setWindowTitle(QStringLiteral("Find by Nutrients"));
    setModal(false);
    fillNutrientChoices();
    QList<int> numbers;
    for (const FullNutrient &nutrient : nutrients)
        numbers << nutrient.number;
    QStringList groupNames;
    for (const FoodGroup &group : context.foods.groups())
        groupNames << group.name;
    const FinderSettings choices = finderSettingsFor(stored, numbers, groupNames);

    choicesBox = new QWidget;
    // Never squeezed: the area scrolls instead.
    choicesBox->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Minimum);
    conditionsLayout = new QVBoxLayout;
    conditionsLayout->setContentsMargins(0, 0, 0, 0);
    conditionsLayout->setSpacing(2);

    addButton = new QToolButton(choicesBox);
    addButton->setObjectName(QStringLiteral("addCondition"));
    addButton->setText(QStringLiteral("+"));
    addButton->setToolTip(QStringLiteral("Add a condition"));
    basisCombo = newChoiceCombo(QStringLiteral("finderBasis"), choicesBox);
    basisCombo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    for (const char *basis : {"per 100 g", "per 100 kcal", "per serving"})
        basisCombo->addItem(QLatin1String(basis));
    groupCombo = newChoiceCombo(QStringLiteral("finderGroup"), choicesBox);
    groupCombo->setMinimumContentsLength(4);
    groupCombo->addItem(allCategoriesName()); // no code: all groups
    for (const FoodGroup &group : context.foods.groups())
        groupCombo->addItem(group.name, group.code);
    wordsEdit = new QLineEdit(choicesBox);
    wordsEdit->setObjectName(QStringLiteral("finderWords"));
    wordsEdit->setPlaceholderText(QStringLiteral("words of the description"));
    orderCombo = newNutrientCombo(choices.orderNutrient, choicesBox);
    orderCombo->setObjectName(QStringLiteral("finderOrder"));
    orderCombo->setMinimumContentsLength(4);
    directionCombo = newChoiceCombo(QStringLiteral("finderOrderDirection"), choicesBox);
    directionCombo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    directionCombo->addItems({QStringLiteral("highest first"), QStringLiteral("lowest first")});

    auto *choicesLayout = new QVBoxLayout(choicesBox);
    choicesLayout->setContentsMargins(1, 1, 1, 1);
    choicesLayout->setSpacing(2);
    choicesLayout->addLayout(conditionsLayout);
    auto *scopeRow = new QHBoxLayout;
    scopeRow->addWidget(addButton, 0);
    scopeRow->addWidget(basisCombo, 0);
    scopeRow->addWidget(groupCombo, 10);
    choicesLayout->addLayout(scopeRow);
    choicesLayout->addWidget(wordsEdit);
    auto *orderRow = new QHBoxLayout;
    orderRow->addWidget(new QLabel(QStringLiteral("Order:"), choicesBox), 0);
    orderRow->addWidget(orderCombo, 10);
    orderRow->addWidget(directionCombo, 0);
    choicesLayout->addLayout(orderRow);

    scrollArea = new QScrollArea(this);
    scrollArea->setObjectName(QStringLiteral("finderConditions"));
    scrollArea->setFrameShape(QFrame::NoFrame);
    scrollArea->setWidgetResizable(true);
    scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrollArea->setWidget(choicesBox);

    countLabel = new QLabel(this);
    countLabel->setObjectName(QStringLiteral("finderCount"));
    countLabel->setWordWrap(true); // the nutrients it names would widen the dialog
    // A handheld has no Escape key. The button is no default: Return belongs to the list and the
    // amounts.
    auto *closeButton = new QPushButton(QStringLiteral("Close"), this);
    closeButton->setAutoDefault(false);
    results = new FoodList({QStringLiteral("Description ")}, QStringLiteral("finderResults"), this);
    results->setExportName(QStringLiteral("Find by Nutrients"));

    auto *page = new QVBoxLayout(this);
    page->setContentsMargins(1, 1, 1, 1);
    page->setSpacing(2);
    page->addWidget(scrollArea, 0);
    page->addWidget(results, 10);
    auto *countRow = new QHBoxLayout;
    countRow->addWidget(countLabel, 10);
    countRow->addWidget(closeButton, 0);
    page->addLayout(countRow);

    for (const FinderSettings::Condition &condition : choices.conditions)
        addCondition(condition);
    for (int basis = 0; basis < basisCombo->count(); ++basis)
        if (topBasisName(TopBasis(basis)) == choices.basis)
            basisCombo->setCurrentIndex(basis);
    groupCombo->setCurrentIndex(qMax(0, groupCombo->findText(choices.group)));
    wordsEdit->setText(choices.words);
    directionCombo->setCurrentIndex(choices.lowestFirst ? 1 : 0);

    typing.setSingleShot(true);
    typing.setInterval(150);
    connect(&typing, &QTimer::timeout, this, &FinderDialog::find);
    connect(addButton, &QToolButton::clicked, this, [this] {
        addCondition(FinderSettings::Condition());
        find();
    });
    for (QComboBox *combo : {basisCombo, groupCombo, orderCombo, directionCombo})
        connect(combo, &QComboBox::currentIndexChanged, this, &FinderDialog::find);
    connect(wordsEdit, &QLineEdit::textChanged, &typing, qOverload<>(&QTimer::start));
    connect(wordsEdit, &QLineEdit::returnPressed, this, &FinderDialog::find);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(results, &FoodList::foodChosen, this, &FinderDialog::foodChosen);
    connect(results, &FoodList::fillFailed, this,
            [this](const QString &message) { context.status.showDatabaseError(message); });
    if (parent)
        resize(parent->size());
    find();
}

FinderDialog::~FinderDialog() = default;

void FinderDialog::fillNutrientChoices() {
    // One model for every nutrient combo. Where the file has the nutrient record, the nutrients
    // come under the Full view's group headings, which cannot be chosen.
    nutrientChoices = new QStandardItemModel(this);
    QHash<QString, int> named;
    for (const FullNutrient &nutrient : nutrients)
        ++named[nutrient.name];
    const bool grouped = context.foods.hasNutrientRecord();
    QString heading;
    for (const FullNutrient &nutrient : nutrients) {
        const QString group = nutrientGroupName(nutrientGroup(nutrient.order));
        if (grouped && group != heading) {
            heading = group;
            auto *title = new QStandardItem(group);
            title->setFlags(Qt::NoItemFlags);
            QFont bold = title->font();
            bold.setBold(true);
            title->setFont(bold);
            nutrientChoices->appendRow(title);
        }
        // Two nutrients of one name (energy in kcal and in kJ) are told apart by their units.
        auto *item =
            new QStandardItem(named.value(nutrient.name) > 1
                                  ? QStringLiteral("%1 (%2)").arg(nutrient.name, nutrient.unit)
                                  : nutrient.name);
        item->setData(nutrient.number, numberRole);
        item->setData(nutrient.unit, unitRole);
        nutrientChoices->appendRow(item);
    }
}

QComboBox *FinderDialog::newNutrientCombo(int nutrient, QWidget *parent) {
    QComboBox *combo = newChoiceCombo(QString(), parent);
    combo->setModel(nutrientChoices);
    const int index = combo->findData(nutrient, numberRole);
    combo->setCurrentIndex(index >= 0 ? index
                                      : combo->findData(FinderSettings::energy, numberRole));
    return combo;
}

void FinderDialog::addCondition(const FinderSettings::Condition &condition) {
    auto *box = new QWidget;
    ConditionRow row{box,
                     newNutrientCombo(condition.nutrient, box),
                     newChoiceCombo(QString(), box),
                     new QLineEdit(condition.amount, box),
                     new QLabel(box),
                     new QToolButton(box)};
    row.bound->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    row.bound->addItems({QStringLiteral("at least"), QStringLiteral("at most")});
    row.bound->setCurrentIndex(condition.atMost ? 1 : 0);
    // Digits with a decimal point or comma: no sign, so no negative amount.
    row.amount->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("\\d{0,9}([.,]\\d{0,6})?")), row.amount));
    row.amount->setPlaceholderText(QStringLiteral("amount"));
    row.remove->setText(QStringLiteral("×"));
    row.remove->setToolTip(QStringLiteral("Remove this condition"));
    const auto showUnit = [unit = row.unit, nutrient = row.nutrient] {
        unit->setText(nutrient->currentData(unitRole).toString());
    };
    showUnit();

    auto *lines = new QVBoxLayout(box);
    lines->setContentsMargins(0, 0, 0, 0);
    lines->setSpacing(1);
    auto *first = new QHBoxLayout;
    first->addWidget(row.nutrient, 10);
    first->addWidget(row.remove, 0);
    lines->addLayout(first);
    auto *second = new QHBoxLayout;
    second->addWidget(row.bound, 0);
    second->addWidget(row.amount, 10);
    second->addWidget(row.unit, 0);
    lines->addLayout(second);
    conditionsLayout->addWidget(box);

    connect(row.nutrient, &QComboBox::currentIndexChanged, this, [this, showUnit] {
        showUnit();
        find();
    });
    connect(row.bound, &QComboBox::currentIndexChanged, this, &FinderDialog::find);
    connect(row.amount, &QLineEdit::textChanged, &typing, qOverload<>(&QTimer::start));
    connect(row.amount, &QLineEdit::returnPressed, this, &FinderDialog::find);
    connect(row.remove, &QToolButton::clicked, this, [this, box] {
        removeCondition(box);
        find();
    });
    conditions << row;
    nameConditions();
    fitConditions();
    // The new row in sight, once the layout has made room for it.
    QTimer::singleShot(0, this, [this, box] { scrollArea->ensureWidgetVisible(box); });
}

void FinderDialog::removeCondition(QWidget *box) {
    for (int i = 0; i < conditions.size(); ++i) {
        if (conditions.at(i).box != box)
            continue;
        conditions.removeAt(i);
        // Deleted once its button's click is over; out of the dialog at once, so that no search
        // by name finds it.
        box->setParent(nullptr);
        box->deleteLater();
        nameConditions();
        fitConditions();
        return;
    }
}

void FinderDialog::nameConditions() {
    for (int i = 0; i < conditions.size(); ++i) {
        const ConditionRow &row = conditions.at(i);
        const QString k = QString::number(i + 1);
        row.nutrient->setObjectName(QStringLiteral("conditionNutrient") + k);
        row.bound->setObjectName(QStringLiteral("conditionBound") + k);
        row.amount->setObjectName(QStringLiteral("conditionAmount") + k);
        row.unit->setObjectName(QStringLiteral("conditionUnit") + k);
        row.remove->setObjectName(QStringLiteral("removeCondition") + k);
        // One row always stays, to add a condition in.
        row.remove->setEnabled(conditions.size() > 1);
    }
    addButton->setEnabled(conditions.size() < FinderSettings::mostConditions);
}

FinderSettings FinderDialog::choices() const {
    FinderSettings choices;
    choices.conditions.clear();
    for (const ConditionRow &row : conditions)
        choices.conditions << FinderSettings::Condition{
            row.nutrient->currentData(numberRole).toInt(), row.bound->currentIndex() == 1,
            finderAmountText(row.amount->text())};
    choices.basis = topBasisName(TopBasis(basisCombo->currentIndex()));
    if (groupCombo->currentIndex() > 0)
        choices.group = groupCombo->currentText();
    choices.words = wordsEdit->text().trimmed();
    choices.orderNutrient = orderCombo->currentData(numberRole).toInt();
    choices.lowestFirst = directionCombo->currentIndex() == 1;
    return choices;
}

QString FinderDialog::columnTitle(int nutrient) const {
    for (const FullNutrient &choice : nutrients)
        if (choice.number == nutrient)
            return QStringLiteral("%1 (%2)").arg(choice.name, choice.unit);
    return finderNames({nutrient}, nutrients).value(0);
}

void FinderDialog::find() {
    typing.stop();
    const FinderSettings chosen = choices();
    FinderQuery query;
    for (const FinderSettings::Condition &condition : chosen.conditions)
        if (!condition.amount.isEmpty())
            query.conditions << FinderCondition{condition.nutrient, condition.atMost,
                                                condition.amount.toDouble()};
    query.basis = TopBasis(qMax(0, basisCombo->currentIndex()));
    if (groupCombo->currentIndex() > 0)
        query.groupCode = groupCombo->currentData().toString();
    query.orderNutrient = chosen.orderNutrient;
    query.order = chosen.lowestFirst ? Qt::AscendingOrder : Qt::DescendingOrder;

    FoodsDatabase &foods = context.foods;
    std::unique_ptr<FinderStream> found;
    if (!chosen.words.isEmpty()) {
        SearchOptions options;
        options.allWords = context.settings.matchAllWords;
        query.wordFoods = foodSearchStatement(
            foods, chosen.words, allCategoriesName(), options,
            [this](const QString &message) { context.status.showDatabaseError(message); });
    }
    countLabel->setText(QStringLiteral("Finding…"));
    // Without a condition every food of the group would be listed and ordered, which on a large
    // file keeps the first screen waiting for seconds; words that could not be looked up find no
    // food.
    if (query.conditions.isEmpty()) {
        countLabel->setText(QStringLiteral("No condition yet: type an amount."));
    } else if (foods.isOpen() && (chosen.words.isEmpty() || !query.wordFoods.isNull())) {
        found = std::make_unique<FinderStream>(foods.connection(), foods.words(), query, schema);
        FinderStream *stream = found.get();
        // The foods left out for want of a figure are counted after the list is whole.
        connect(stream, &FinderStream::finished, this, [this, stream] {
            countLabel->setText(finderCountText(stream->count(), 0, {}) +
                                QStringLiteral(" (counting those without a figure…)"));
        });
        connect(stream, &FinderStream::failed, this,
                [this, stream] { countLabel->setText(finderCountText(stream->count(), 0, {})); });
        connect(stream, &FinderStream::counted, this, [this, stream] {
            countLabel->setText(finderCountText(stream->count(), stream->more(),
                                                finderNames(stream->missing(), nutrients)));
        });
        if (!found->start()) {
            context.status.showDatabaseError(found->error());
            found.reset();
        }
    }
    if (!found && !query.conditions.isEmpty())
        countLabel->setText(finderCountText(0, 0, {}));
    QStringList titles;
    for (const int nutrient : finderColumns(query))
        titles << columnTitle(nutrient);
    results->fill(std::move(found), titles);
    emit choicesChanged();
}

void FinderDialog::fitConditions() {
    // The conditions take what they need up to half the height; the list the rest. A row just
    // added or removed counts at once.
    choicesBox->layout()->invalidate();
    scrollArea->setFixedHeight(qMin(choicesBox->sizeHint().height(), height() / 2));
}

void FinderDialog::resizeEvent(QResizeEvent *event) {
    fitConditions();
    QDialog::resizeEvent(event);
}
