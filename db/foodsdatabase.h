// The food database of one session: the open file, what it holds, and what is read from it once.
#pragma once

#include "db/datainfo.h"
#include "db/sqlitedb.h"
#include "db/wordindex.h"

#include <QList>
#include <QSet>
#include <QString>

// What the food database at the path holds, as `kalo --version` tells it: the name of its data
// and the path ("USDA SR 24 (/usr/share/kalo/pics/kalo/FOODS.db)"), or why there is none.
QString describeFoodsDatabase(const QString &path);

struct FoodGroup {
    QString code; // FdGrp_Cd
    QString name; // FdGrp_Desc
};

// The file cannot change while the program runs: what it holds is learned when it opens, and
// everything else asks this object instead of the file. Statements run on connection(); failures
// stay pending there, as SQLiteDB keeps them, for the caller to show.
class FoodsDatabase {
public:
    FoodsDatabase();
    ~FoodsDatabase();
    FoodsDatabase(const FoodsDatabase &) = delete;
    FoodsDatabase &operator=(const FoodsDatabase &) = delete;

    // Opens the file, never creating one. A file without foods and their groups (an empty file,
    // a foreign database) counts as not opened, with the library's message pending. Then learns
    // its tables and stands in, on this connection only, for the parts it lacks: a view of
    // FOODS_WR that reads NULL for each missing column, and an empty word table. So every
    // statement runs as written and a missing amount reads as unknown.
    bool open(const QString &path);
    bool isOpen() const { return db.isOpen(); }
    SQLiteDB &connection() { return db; }

    // The parts the file lacks, as one sentence for the start notice: empty when it has them all.
    QString missingParts() const { return missing; }

    // The tables (and views) of the file, by name in any letter case. The program's only writes,
    // the ranking tables, are followed by learnTables().
    bool hasTable(const QString &name) const;
    void learnTables();
    bool hasBarcodes() const;
    bool hasTrigramIndex() const;
    bool hasServings() const;
    bool hasNutrientRecord() const; // NUTRIENTS and NUTRIENT_DATA
    // The index of the figures by nutrient and value (NUTRIENT_DATA_value), which finds the foods
    // with "at most 200 mg potassium" without reading every figure.
    bool hasValueIndex() const;
    // Whether a write to the file would succeed; tried once, with a write that is rolled back.
    bool isWritable();
    // Why it would not: the library's message; null when it would.
    QString writeFailure();

    // Where the data comes from, read at open (a file that cannot say is the SR release it
    // defaults to).
    const DataInfo &dataInfo() const { return origin; }

    // The word dictionary; false with the error pending when it cannot be read (it stays empty).
    bool loadWords();
    const WordIndex &words() const { return wordIndex; }
    // The food groups ordered by name; false with the error pending when they cannot be read.
    bool loadGroups();
    const QList<FoodGroup> &groups() const { return groupList; }

    // The readable description of a food; null when the file does not hold it.
    QString description(const QString &foodId);

private:
    void standInForMissingParts();

    SQLiteDB db;
    QSet<QString> tables;  // lower case
    QSet<QString> indexes; // lower case
    QString missing;
    DataInfo origin;
    WordIndex wordIndex;
    QList<FoodGroup> groupList;
    bool writeTried = false;
    QString writeError;
};
