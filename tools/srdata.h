// The USDA nutrient data as the builder reads it, whatever the source format.
#pragma once

#include "db/foodsschema.h"

#include <QList>
#include <QString>

#include <array>
#include <functional>
#include <optional>
#include <vector>

struct SrGroup {
    QString code; // four digits, "0100"
    QString name;
};

// One common serving: "1 cup, diced" weighing 132 g.
struct SrServing {
    double amount = 0;
    QString measure;
    double grams = 0;
};

struct SrFood {
    int number = 0;      // NDB_No
    QString description; // the long description, plain text
    QString group;       // FdGrp_Cd, four digits
    // Amounts per 100 g in the order of foodsNutrientColumns; empty when the source has none.
    std::array<std::optional<double>, foodsNutrientCount> nutrients;
    QList<SrServing> servings; // the first two of the USDA weight sequence, at most
};

struct SrData {
    int release = 0; // the SR release number, stored as PRAGMA user_version
    QList<SrGroup> groups;
    std::vector<SrFood> foods; // ascending by number
};

// The name of a serving: the amount with up to three decimals and no trailing zeros, a blank and
// the measure ("1 cup, diced", "0.5 cup").
QString servingName(const SrServing &serving);

// A decimal number of a source file: digits with an optional fraction, sign and exponent, in the
// C locale. Empty, non-numeric, infinite and NaN texts are refused.
std::optional<double> parseSourceNumber(QByteArrayView text);

// Progress of a long step, called now and then with the items done of the total; may be empty.
using Progress = std::function<void(const QString &step, qsizetype done, qsizetype total)>;
