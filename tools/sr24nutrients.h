// The nutrients of the SR24 data jar, which names them by short names of its own.
#pragma once

#include "tools/srdata.h"

#include <QStringView>

// The jar's nutrients as USDA nutrient definitions, in SR_Order, as shipped in
// sr24-nutrients.tsv.
const QList<SrNutrient> &sr24Nutrients();

// The USDA nutrient number of one of the jar's names ("Vitamin D" is 324), 0 for a name the table
// lacks.
int sr24NutrientNumber(QStringView jarName);
