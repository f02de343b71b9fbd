// The name of the data release a FOODS.db holds, as reports cite it.
#pragma once

#include <QString>

class SQLiteDB;

// "USDA SR <n>", n the SR release the builder stored as the database's user_version (14 when
// unset, the release the program first shipped with).
QString dataReleaseName(SQLiteDB &db);
