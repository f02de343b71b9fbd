// Where the food data comes from: the DATA_INFO table of FOODS.db and the name it gives the data.
#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class SQLiteDB;

// Key and value pairs, as the builder writes them into DATA_INFO (Key, Value):
//   Source     "USDA SR" or "USDA FoodData Central"
//   Release    the SR release number ("24"), SR only
//   DataTypes  the FoodData Central data types in the data ("Foundation, SR Legacy")
//   Published  the latest publication date of the FoodData Central foods ("2024-04-18")
// A FOODS.db without the table holds SR data whose release is PRAGMA user_version, and a file
// without either is the SR release 14 of the first FOODS.db files (FoodsDatabase reads them).
class DataInfo {
public:
    static const QString sourceKey;
    static const QString releaseKey;
    static const QString dataTypesKey;
    static const QString publishedKey;
    static const QString srSource;
    static const QString fdcSource;

    DataInfo() = default;
    static DataInfo forSr(int release);
    static DataInfo forFoodDataCentral(const QStringList &dataTypes, const QString &published);

    // A null string when the key is absent.
    QString value(const QString &key) const;
    void setValue(const QString &key, const QString &value);
    const QList<QPair<QString, QString>> &entries() const { return list; }

    // The SR release number, 0 for data that is not SR.
    int release() const;
    // The data as a report or About text names it: "USDA SR 24", or "USDA FoodData Central
    // (Foundation, SR Legacy) 2024-04-18".
    QString displayName() const;

    // Stores the entries in the database's DATA_INFO table; false with the error pending.
    bool write(SQLiteDB &db) const;

private:
    QList<QPair<QString, QString>> list;
};
