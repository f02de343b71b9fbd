// The twenty ranking criteria of the Top 15 page.
#pragma once

#include <QString>

constexpr int topCriteriaCount = 20;

// The label shown in the criteria combo box, in combo order.
extern const char *const topLabels[topCriteriaCount];
// The FOODS_WR column each criterion ranks by.
extern const char *const topColumns[topCriteriaCount];

// "asc" for the two "Least" criteria (1 and 3), "desc" for all others.
const char *topDirection(int index);
// The cache table of a criterion: "topdata_<column>_<index>".
QString topTableName(int index);
