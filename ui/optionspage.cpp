// The Options page: the custom weight, the report and search choices, and the About text.
#include "ui/optionspage.h"

#include "settings/settings.h"
#include "settings/weightrules.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleValidator>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

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

} // namespace

OptionsPage::OptionsPage(const Settings &settings, QWidget *parent)
    : QFrame(parent) {
    setObjectName(QStringLiteral("optionsPage"));
    setFrameStyle(QFrame::NoFrame);

    auto *weightBox = new QGroupBox(QStringLiteral("Custom Weight"), this);
    weightEdit = new QLineEdit(weightBox);
    weightEdit->setObjectName(QStringLiteral("weightEdit"));
    weightEdit->setAlignment(Qt::AlignRight);
    auto *validator = new WeightValidator(weightEdit);
    validator->setLocale(QLocale::c()); // a decimal point whatever the user's locale
    weightEdit->setValidator(validator);
    auto *grams = new QLabel(QStringLiteral("Grams"), weightBox);
    auto *weightLayout = new QHBoxLayout(weightBox);
    weightLayout->addWidget(weightEdit);
    weightLayout->addWidget(grams);

    auto *viewBox = new QGroupBox(QStringLiteral("Default View Size"), this);
    viewSizeCombo = new QComboBox(viewBox);
    viewSizeCombo->setObjectName(QStringLiteral("viewSizeCombo"));
    viewSizeCombo->setEditable(false);
    viewSizeCombo->addItem(QStringLiteral("Basic View"));
    viewSizeCombo->addItem(QStringLiteral("Expanded View"));
    viewSizeCombo->addItem(QStringLiteral("Full View"));
    dailyValueBox = new QCheckBox(QStringLiteral("Show % Daily Value"), viewBox);
    dailyValueBox->setObjectName(QStringLiteral("dailyValueBox"));
    // The range and count of each figure, and the footnotes, where the data gives them.
    rangesBox = new QCheckBox(QStringLiteral("Show Ranges"), viewBox);
    rangesBox->setObjectName(QStringLiteral("rangesBox"));
    auto *viewLayout = new QVBoxLayout(viewBox);
    viewLayout->addWidget(viewSizeCombo);
    viewLayout->addWidget(dailyValueBox);
    viewLayout->addWidget(rangesBox);

    auto *searchBox = new QGroupBox(QStringLiteral("Search Results"), this);
    searchOrderCombo = new QComboBox(searchBox);
    searchOrderCombo->setObjectName(QStringLiteral("searchOrderCombo"));
    searchOrderCombo->setEditable(false);
    searchOrderCombo->addItem(QStringLiteral("By Name"));
    searchOrderCombo->addItem(QStringLiteral("Best Match"));
    allWordsBox = new QCheckBox(QStringLiteral("Match All Words"), searchBox);
    allWordsBox->setObjectName(QStringLiteral("allWordsBox"));
    auto *searchLayout = new QVBoxLayout(searchBox);
    searchLayout->addWidget(searchOrderCombo);
    searchLayout->addWidget(allWordsBox);

    auto *aboutBox = new QGroupBox(this);
    // On a small screen the text may be taller than the room left for it: let it scroll.
    auto *aboutScroll = new QScrollArea(aboutBox);
    aboutScroll->setFrameStyle(QFrame::NoFrame);
    aboutScroll->setWidgetResizable(true);
    aboutScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    aboutLabel = new QLabel;
    aboutLabel->setObjectName(QStringLiteral("aboutLabel"));
    aboutLabel->setTextFormat(Qt::RichText);
    aboutLabel->setWordWrap(true);
    aboutLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    aboutScroll->setWidget(aboutLabel);
    auto *aboutLayout = new QHBoxLayout(aboutBox);
    aboutLayout->setContentsMargins(4, 4, 4, 4);
    aboutLayout->addWidget(aboutScroll);

    auto *page = new QVBoxLayout(this);
    page->setContentsMargins(4, 4, 4, 4);
    page->addWidget(weightBox, 0);
    page->addWidget(viewBox, 0);
    page->addWidget(searchBox, 0);
    page->addWidget(aboutBox, 10);

    showSettings(settings);
}

void OptionsPage::showSettings(const Settings &settings) {
    weightEdit->setText(weightText(settings.customWeight));
    viewSizeCombo->setCurrentIndex(settings.fullView ? 2 : (settings.basicView ? 0 : 1));
    dailyValueBox->setChecked(settings.showDailyValue);
    rangesBox->setChecked(settings.showRanges);
    searchOrderCombo->setCurrentIndex(settings.bestMatch ? 1 : 0);
    allWordsBox->setChecked(settings.matchAllWords);
}

void OptionsPage::readInto(Settings &settings) const {
    settings.customWeight = weightFromText(weightEdit->text());
    settings.basicView = viewSizeCombo->currentIndex() == 0;
    settings.fullView = viewSizeCombo->currentIndex() == 2;
    settings.showDailyValue = dailyValueBox->isChecked();
    settings.showRanges = rangesBox->isChecked();
    settings.bestMatch = searchOrderCombo->currentIndex() == 1;
    settings.matchAllWords = allWordsBox->isChecked();
}

bool OptionsPage::hasAboutText() const {
    return !aboutLabel->text().isEmpty();
}

void OptionsPage::setAboutText(const QString &text) {
    aboutLabel->setText(text);
}
