// Where the food database is found: the user's own FOODS.db before the installed one.
#include "platform/databaselocation.h"

#include "platform/installdir.h"

#include <QFileInfo>
#include <QStandardPaths>

QString userFoodsDatabasePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/kalo/FOODS.db");
}

QString installedFoodsDatabasePath() {
    return installationDirectory() + QStringLiteral("pics/kalo/FOODS.db");
}

QString foodsDatabasePath() {
    const QString user = userFoodsDatabasePath();
    return QFileInfo::exists(user) ? user : installedFoodsDatabasePath();
}
