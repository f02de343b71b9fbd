// The texts of FoodData Central downloads as FOODS.db stores them: descriptions, servings, units
// and barcodes.
#pragma once

#include "tools/srdata.h"

#include <QByteArrayView>
#include <QString>

// A description or name: UTF-8 decoded, control characters and runs of white space made one
// blank, ends trimmed, and '@' (which the program reads as a word token delimiter) turned into
// the full-width at sign U+FF20.
QString fdcText(QByteArrayView utf8);

// A branded food as FoodData Central lists it, brand first: "Brand, DESCRIPTION"; the
// description alone when it already starts with the brand or there is none. The brand is the
// brand name, else the brand owner.
QString fdcBrandedDescription(const QString &description, const QString &brandName,
                              const QString &brandOwner);

// Splits a leading amount from a household measure: "2 Tbsp" gives 2 and "Tbsp", "1/2 cup" 0.5,
// "1 1/2 cups" 1.5 and "cups". A text without one is one of itself: 1 and the whole text.
SrServing fdcHouseholdServing(const QString &text, double grams);

// A row of food_portion.csv as a serving. The measure is the unit (unless "undetermined") with
// the modifier after a comma, else the portion description, else the modifier (SR Legacy keeps
// its whole measure there). The amount is the amount field when given, else the one that leads
// the measure (survey foods write "1 cup").
SrServing fdcPortion(const QString &amount, const QString &unit, const QString &description,
                     const QString &modifier, double grams);

// A branded food's label serving: the household serving when given, else the serving size with
// its unit ("30 g", "240 ml"); both weigh the serving size (a millilitre counted as a gram, as the
// label's per-100 figures do).
SrServing fdcLabelServing(double size, const QString &unit, const QString &household);

// A unit of nutrient.csv as the USDA's SR files write it: "G" g, "MG" mg, "UG" µg, "KCAL" kcal,
// "kJ" kJ, "IU" IU; any other as given.
QString fdcUnits(const QString &unit);

// A GTIN or UPC as a number, whose decimal digits are the code as BARCODES stores it (without
// leading zeros); 0 for a code that is empty, longer than 19 digits or holds anything but digits
// (surrounding blanks aside).
quint64 fdcBarcode(QByteArrayView gtin);
