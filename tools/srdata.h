// The USDA nutrient data as the builder reads it, whatever the source format.
#pragma once

#include "db/foodsschema.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

struct SrGroup {
    QString code; // four digits, "0100"
    QString name;
};

// A nutrient as the USDA defines it (NUTR_DEF): "Calcium, Ca" in mg, number 301.
struct SrNutrient {
    int number = 0; // Nutr_No
    QString name;   // NutrDesc
    QString units;
    int order = 0; // SR_Order: the place of the nutrient in the USDA's lists
};

// One serving: "1 cup, diced" weighing 132 g.
struct SrServing {
    double amount = 0;
    QString measure;
    double grams = 0;
};

// A figure per 100 g of food.
struct SrAmount {
    int number = 0; // Nutr_No
    double value = 0;
};

struct SrFood {
    int number = 0;                // NDB_No
    QString description;           // the long description, plain text
    QString group;                 // FdGrp_Cd, four digits
    QList<SrServing> servings;     // every serving, in the USDA weight sequence order
    std::vector<SrAmount> amounts; // ascending by nutrient number; an unknown figure is absent

    std::optional<double> amount(int nutrientNumber) const;
};

// What a food's figure rests on, as far as the source says; what it does not say is empty.
struct SrFigureBasis {
    int food = 0;   // NDB_No
    int number = 0; // Nutr_No
    std::optional<int> dataPoints;
    std::optional<double> standardError;
    QString source;     // Src_Cd
    QString derivation; // Deriv_Cd
    std::optional<double> minimum;
    std::optional<double> maximum;
    QString footnote; // several joined by "; "
};

// A footnote of a whole food.
struct SrFoodNote {
    int food = 0;
    QString text;
};

// A code of the source's derivation or source table, and what it stands for.
struct SrCode {
    QString code;
    QString description;
};

struct SrData {
    int release = 0; // the SR release number, stored as PRAGMA user_version
    QList<SrGroup> groups;
    QList<SrNutrient> nutrients; // the definitions of every nutrient the foods may name
    std::vector<SrFood> foods;   // ascending by number
    // What the figures rest on, for sources that can tell it (the SR24 jar cannot: false): the
    // figures that say something, ascending by food and nutrient, each of a figure of foods; the
    // food footnotes in order; the derivation and source code tables when the source has them.
    bool hasBasis = false;
    std::vector<SrFigureBasis> basis;
    QList<SrFoodNote> notes;
    QList<SrCode> derivations;
    QList<SrCode> sources;
};

// The name of a serving: the amount with up to three decimals and no trailing zeros, a blank and
// the measure ("1 cup, diced", "0.5 cup").
QString servingName(const SrServing &serving);

// A decimal number of a source file: digits with an optional fraction, sign and exponent, in the
// C locale. Empty, non-numeric, infinite and NaN texts are refused.
std::optional<double> parseSourceNumber(QByteArrayView text);

// Progress of a long step, called now and then with the items done of the total; may be empty.
using Progress = std::function<void(const QString &step, qsizetype done, qsizetype total)>;
