// Where the food data comes from: the DATA_INFO table of FOODS.db and the name it gives the data.
#include "db/datainfo.h"

#include "db/sqlitedb.h"
#include "db/statement.h"

const QString DataInfo::sourceKey = QStringLiteral("Source");
const QString DataInfo::releaseKey = QStringLiteral("Release");
const QString DataInfo::dataTypesKey = QStringLiteral("DataTypes");
const QString DataInfo::publishedKey = QStringLiteral("Published");
const QString DataInfo::srSource = QStringLiteral("USDA SR");
const QString DataInfo::fdcSource = QStringLiteral("USDA FoodData Central");

DataInfo DataInfo::forSr(int release) {
    DataInfo info;
    info.setValue(sourceKey, srSource);
    info.setValue(releaseKey, QString::number(release));
    return info;
}

DataInfo DataInfo::forFoodDataCentral(const QStringList &dataTypes, const QString &published) {
    DataInfo info;
    info.setValue(sourceKey, fdcSource);
    info.setValue(dataTypesKey, dataTypes.join(QStringLiteral(", ")));
    if (!published.isEmpty())
        info.setValue(publishedKey, published);
    return info;
}

QString DataInfo::value(const QString &key) const {
    for (const auto &entry : list) {
        if (entry.first == key)
            return entry.second;
    }
    return QString();
}

void DataInfo::setValue(const QString &key, const QString &value) {
    for (auto &entry : list) {
        if (entry.first == key) {
            entry.second = value;
            return;
        }
    }
    list.append({key, value});
}

int DataInfo::release() const {
    return value(sourceKey) == srSource ? value(releaseKey).toInt() : 0;
}

QString DataInfo::displayName() const {
    QString name = value(sourceKey);
    if (name.isEmpty())
        name = srSource;
    const QString types = value(dataTypesKey);
    if (!types.isEmpty())
        name += QStringLiteral(" (") + types + QLatin1Char(')');
    for (const QString &key : {releaseKey, publishedKey}) {
        const QString part = value(key);
        if (!part.isEmpty())
            name += QLatin1Char(' ') + part;
    }
    return name;
}

bool DataInfo::write(SQLiteDB &db) const {
    Statement insert(db, QStringLiteral("INSERT INTO DATA_INFO (\"Key\", Value) VALUES (?, ?)"));
    for (const auto &entry : list) {
        insert.bind(1, entry.first);
        insert.bind(2, entry.second);
        if (!insert.run())
            return false;
    }
    return true;
}
