// Where the food database is found: the user's own FOODS.db before the installed one.
#pragma once

#include <QString>

// FOODS.db in the user's data folder: $XDG_DATA_HOME/kalo/FOODS.db, by default
// ~/.local/share/kalo/FOODS.db. A database the user built needs neither root nor a variable.
QString userFoodsDatabasePath();
// The installed FOODS.db below the installation directory.
QString installedFoodsDatabasePath();
// The user's FOODS.db when it exists, otherwise the installed one.
QString foodsDatabasePath();
