// The Nutrition Facts label of a food's serving: the rounding of its figures, its lines and its
// rich text.
#pragma once

#include "details/foodreport.h"
#include "details/nutrientreport.h"

#include <QList>
#include <QString>

// The widest the label is laid out, in pixels of a 96 dpi screen (3⅓ inches on paper): wider, it
// no longer reads as a label.
constexpr int labelWidthPixels = 320;

// The rule a line's amount is declared by.
enum class LabelRounding {
    Calories,
    Fat,         // total, saturated and trans fat
    Cholesterol, // in mg
    Sodium,      // in mg
    Grams,       // carbohydrate, fiber, sugars, added sugars, protein
    Vitamin,     // vitamins and minerals, by the size of their Daily Value
};

// A figure as the label declares it.
struct LabelFigure {
    bool given = false; // false: the data does not give the amount; the label says so
    QString amount;     // without its unit: "9", "0.5", "Less than 5"
    QString percent;    // of the Daily Value, without "%"; empty where the line shows none
};

// The label's figure for an amount in a serving (NaN: unknown) with the Daily Value of the
// nutrient in the amount's unit (NaN or 0: the line shows no percentage). The percentage is taken
// from the declared amount; a "Less than" amount has no figure of its own, and its percentage is
// taken from the amount itself.
LabelFigure labelFigure(LabelRounding rule, double amount, double dailyValue);

// One line of the label with its declared figure.
struct LabelLine {
    QString name; // "Total Fat"; the added sugars' line is "Added Sugars"
    QString unit; // "g", "mg", "mcg"; empty for the calories
    LabelFigure figure;
};

// The label's lines in its order, Calories to Potassium, for the serving at the index (an index
// outside the servings weighs 0 g).
QList<LabelLine> nutritionLabelLines(const FoodReport &report, int weightIndex);

// The serving as the label names it: its name and its grams rounded, "1 oz (28g)"; the custom
// weight (the last serving) its grams alone, "100g".
QString labelServingSize(const FoodReport &report, int weightIndex);

// The footnote under the label, on the Daily Value.
QString labelFootnote();

// The label as rich text, in the colours of the report (the rules in its text colour). A food not
// found says so, as the report does.
QString nutritionLabelHtml(const FoodReport &report, int weightIndex,
                           const ReportColours &colours = ReportColours());
