// The Find by Nutrients choices as KALO.conf keeps them, and their fit to the open file.
#include "settings/findersettings.h"

#include "platform/config.h"

#include <cmath>

namespace {

const QChar listSeparator('|');

// The basis entries in the dialog's order.
const QStringList bases{QStringLiteral("100g"), QStringLiteral("100kcal"),
                        QStringLiteral("serving")};

// Every item, empty ones too: an empty amount is a row without a condition. An empty value is an
// empty list.
QStringList listEntry(const Config &config, const QString &key) {
    const QString value = config.readEntry(key);
    return value.isEmpty() ? QStringList() : value.split(listSeparator);
}

} // namespace

bool operator==(const FinderSettings::Condition &a, const FinderSettings::Condition &b) {
    return a.nutrient == b.nutrient && a.atMost == b.atMost && a.amount == b.amount;
}

bool operator==(const FinderSettings &a, const FinderSettings &b) {
    return a.conditions == b.conditions && a.basis == b.basis && a.group == b.group &&
           a.words == b.words && a.orderNutrient == b.orderNutrient &&
           a.lowestFirst == b.lowestFirst;
}

QString finderAmountText(const QString &typed) {
    bool ok = false;
    const double amount = QString(typed).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    if (!ok || !std::isfinite(amount) || amount < 0)
        return QString();
    return QString::number(amount, 'g', 15);
}

FinderSettings readFinderSettings(const Config &config) {
    FinderSettings settings;
    const QStringList nutrients = listEntry(config, QStringLiteral("FinderNutrients"));
    const QStringList bounds = listEntry(config, QStringLiteral("FinderBounds"));
    const QStringList amounts = listEntry(config, QStringLiteral("FinderAmounts"));
    QList<FinderSettings::Condition> conditions;
    for (int i = 0; i < nutrients.size(); ++i) {
        bool ok = false;
        const int nutrient = nutrients.at(i).trimmed().toInt(&ok);
        if (ok)
            conditions << FinderSettings::Condition{
                nutrient, bounds.value(i).trimmed() == QLatin1String("most"),
                finderAmountText(amounts.value(i).trimmed())};
    }
    if (!conditions.isEmpty())
        settings.conditions = conditions;
    const QString basis = config.readEntry(QStringLiteral("FinderBasis"));
    if (bases.contains(basis))
        settings.basis = basis;
    settings.group = config.readEntry(QStringLiteral("FinderGroup"));
    settings.words = config.readEntry(QStringLiteral("FinderWords"));
    bool ok = false;
    const int order = config.readEntry(QStringLiteral("FinderOrder")).toInt(&ok);
    if (ok)
        settings.orderNutrient = order;
    settings.lowestFirst =
        config.readEntry(QStringLiteral("FinderOrderDirection")) == QLatin1String("lowest");
    return settings;
}

void writeFinderSettings(Config &config, const FinderSettings &settings) {
    QStringList nutrients, bounds, amounts;
    for (const FinderSettings::Condition &condition : settings.conditions) {
        nutrients << QString::number(condition.nutrient);
        bounds << (condition.atMost ? QStringLiteral("most") : QStringLiteral("least"));
        amounts << condition.amount;
    }
    config.writeEntry(QStringLiteral("FinderNutrients"), nutrients, listSeparator);
    config.writeEntry(QStringLiteral("FinderBounds"), bounds, listSeparator);
    config.writeEntry(QStringLiteral("FinderAmounts"), amounts, listSeparator);
    config.writeEntry(QStringLiteral("FinderBasis"), settings.basis);
    config.writeEntry(QStringLiteral("FinderGroup"), settings.group);
    config.writeEntry(QStringLiteral("FinderWords"), settings.words);
    config.writeEntry(QStringLiteral("FinderOrder"), QString::number(settings.orderNutrient));
    config.writeEntry(QStringLiteral("FinderOrderDirection"),
                      settings.lowestFirst ? QStringLiteral("lowest") : QStringLiteral("highest"));
}

FinderSettings finderSettingsFor(FinderSettings settings, const QList<int> &nutrients,
                                 const QStringList &groups) {
    settings.conditions.removeIf([&nutrients](const FinderSettings::Condition &condition) {
        return !nutrients.contains(condition.nutrient);
    });
    const int fallback = nutrients.contains(FinderSettings::energy) || nutrients.isEmpty()
                             ? FinderSettings::energy
                             : nutrients.first();
    settings.conditions = settings.conditions.mid(0, FinderSettings::mostConditions);
    if (settings.conditions.isEmpty())
        settings.conditions << FinderSettings::Condition{fallback, false, QString()};
    if (!nutrients.contains(settings.orderNutrient))
        settings.orderNutrient = fallback;
    if (!groups.contains(settings.group))
        settings.group.clear();
    return settings;
}
