// The food groups of USDA SR24, which the Debian jar does not carry.
#pragma once

#include "tools/srdata.h"

#include <QHash>

// The 25 official groups of SR24, by code.
QList<SrGroup> sr24Groups();

// The group of an SR24 food: the one the exception table names, otherwise the one its number's
// first two digits give (23 beef, 27 soups, 31 vegetables, 48 cereal grains, 80/83/90/93 fish,
// any other nn the group nn00). The code may be one that sr24Groups() lacks.
QString sr24GroupOf(int number);

// The exception table, food number to group code, as shipped in sr24-group-exceptions.tsv.
const QHash<int, QString> &sr24GroupExceptions();
