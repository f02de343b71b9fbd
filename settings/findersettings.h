// The Find by Nutrients choices as KALO.conf keeps them, and their fit to the open file.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class Config;

// A plain value, part of Settings. The default is the dialog as it first opens: one condition row
// without an amount, per 100 g, all groups, no words, highest energy first.
struct FinderSettings {
    static constexpr int energy = 208; // Energ_Kcal, the figure the report shows
    static constexpr int mostConditions = 6;

    struct Condition {
        int nutrient = energy; // USDA number
        bool atMost = false;
        QString amount; // a C-locale number, not negative; empty: the row is no condition
    };
    QList<Condition> conditions{Condition()}; // as the dialog shows them: one to six
    QString basis = QStringLiteral("100g");   // "100g", "100kcal" or "serving"
    QString group;                            // by name; empty for all groups
    QString words;
    int orderNutrient = energy;
    bool lowestFirst = false;
};

bool operator==(const FinderSettings::Condition &a, const FinderSettings::Condition &b);
bool operator==(const FinderSettings &a, const FinderSettings &b);

// The stored form of a typed amount: the number with a decimal point (a comma is taken for one);
// empty when the text is empty, no number, negative or not finite.
QString finderAmountText(const QString &typed);

// The keys FinderNutrients, FinderBounds ("least" or "most"), FinderAmounts, FinderBasis,
// FinderGroup, FinderWords, FinderOrder and FinderOrderDirection ("highest" or "lowest") of the
// config's group; lists are '|'-separated, the amounts keeping empty items. Missing or unreadable
// values give the defaults; a row whose nutrient is no number is dropped.
FinderSettings readFinderSettings(const Config &config);
void writeFinderSettings(Config &config, const FinderSettings &settings);

// The settings as the open file can show them: a row whose nutrient the file lacks is dropped, and
// those beyond six (a new row stands in when none is left); an order nutrient it lacks becomes
// energy (or the first nutrient offered), a group it lacks all groups.
FinderSettings finderSettingsFor(FinderSettings settings, const QList<int> &nutrients,
                                 const QStringList &groups);
