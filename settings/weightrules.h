// The rules for the user's custom serving weight, shared by the Options page and the servings.
#pragma once

#include <QString>

// The weight in grams that a stored or typed weight stands for: no number, zero and a value that
// is not finite (an overflowing entry, "inf" or "nan" from a hand-edited file) mean the default
// 100 g; a negative weight counts as positive.
double normalisedWeight(double grams);

// The weight a text of the weight field stands for: its leading number read with the C library's
// rules (a decimal comma taken for the point), then normalised.
double weightFromText(const QString &text);

// The weight as the weight field shows it: two decimals.
QString weightText(double grams);
