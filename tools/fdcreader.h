// Reads a USDA FoodData Central CSV download, zipped or unpacked, into FOODS.db.
#pragma once

#include "db/datainfo.h"
#include "tools/srdata.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <map>
#include <vector>

class CsvReader;
class SQLiteDB;
class Statement;

// Reads the CSV files of one data type's download or of the full one: food.csv, nutrient.csv and
// food_nutrient.csv, and where present food_category.csv, wweia_food_category.csv,
// sr_legacy_food.csv, foundation_food.csv, survey_fndds_food.csv, branded_food.csv,
// food_portion.csv, measure_unit.csv, food_nutrient_derivation.csv and food_nutrient_source.csv
// (names in any letter case, columns found by their header names). Foundation, SR Legacy, survey
// (FNDDS) and branded foods are kept; the samples and acquisitions of the full download are not
// foods to look up and are passed over. Only current foods are kept: where the download has a
// data type's own table (foundation_food.csv ...), a food of that type that the table does not
// list is an older version or a withdrawn food.
//
// A food's number is its NDB number where the download gives one (SR Legacy and Foundation foods
// keep the SR numbers); when two foods give the same one, the later published keeps it. Any other
// food is numbered by its FDC id. Groups: the food categories of SR Legacy and Foundation foods
// with their four-digit codes, the WWEIA categories of survey foods as "W" and their code, the
// branded categories as "B" and a number, and "Z000" for foods without a category; a name that
// another group has already gets " (survey)" or " (branded)" after it. Energy is the kcal figure
// (208), else the Atwater energy with specific factors (958), else with general factors (957).
//
// What a figure rests on (data_points, min, max, median, derivation_id and footnote of
// food_nutrient.csv) and the footnotes of foundation_food.csv go into the tables of
// foodsBasisSchemaStatements; a derivation is stored by its code, and with its source's code,
// where the download has the derivation table, else by its id.
//
// The quirks of the downloads as published are read: a figure of a nutrient that nutrient.csv
// lacks is passed over and counted (notes()), an empty amount is no figure, whole numbers may be
// written "409.0", and portions may skip sequence numbers.
//
// food_nutrient.csv is never held in memory: its rows are loaded into a file of intermediate
// tables beside the output, and the food tables are derived from them by SQL.
class FdcReader {
public:
    // Fills the empty tables of db (one transaction open) from the download at path, a zip or a
    // folder (see FdcDownload); the file of intermediate tables is made in stagingFolder and
    // removed when done. False with the error: "folder/food.csv:12: field 'fdc_id': 'x1' is not
    // a whole number".
    bool read(const QString &path, SQLiteDB &db, const QString &stagingFolder,
              const Progress &progress = {});
    QString errorString() const { return error; }

    // After a successful read: what DATA_INFO says, and how much was read.
    const DataInfo &dataInfo() const { return info; }
    qint64 foodCount() const { return qint64(kept.size()); }
    int groupCount() const { return groupsWritten; }
    // What the summary tells of the download: figures passed over, foods left out as not current,
    // data types built whole for want of their table; one sentence each.
    QStringList notes() const;

private:
    struct Nutrient {
        int number = 0;
        QString name;
        QString units;
        int order = 0;
        bool used = false;
    };
    struct Group {
        QString code;
        QString name;
        QString suffix; // added when the name is taken
        bool used = false;
    };
    struct Branded {
        int fdc = 0;
        int group = -1;
        int brand = -1;
        quint64 barcode = 0; // the GTIN/UPC as a number, 0 for none
    };
    struct Kept {
        int fdc = 0;
        int ndb = 0;
    };
    class Table;

    bool fail(const QString &message);
    bool columns(Table &table, std::initializer_list<const char *> names, int *indexes);
    // The row's id (columns[0], a whole number) and code (columns[1]; the id where it is empty).
    bool idAndCode(Table &table, const int *columns, int *id, QString *code);
    bool readNutrients(Table &table, SQLiteDB &db);
    bool readUnits(Table &table, SQLiteDB &db);
    bool readCategories(Table &table, SQLiteDB &db);
    bool readWweia(Table &table, SQLiteDB &db);
    bool readSources(Table &table, SQLiteDB &db);
    bool readDerivations(Table &table, SQLiteDB &db);
    bool readNdbNumbers(Table &table, SQLiteDB &db);
    bool readSurvey(Table &table, SQLiteDB &db);
    bool readBranded(Table &table, SQLiteDB &db);
    bool readFoods(Table &table, SQLiteDB &db);
    bool numberFoods(SQLiteDB &db);
    bool readPortions(Table &table, SQLiteDB &db);
    bool readFigures(Table &table, SQLiteDB &db);
    bool figureBasis(CsvReader &csv, const int *columns, qint64 figure, int ndb, int number,
                     Statement &insert, SQLiteDB &db);
    bool derive(SQLiteDB &db);
    int groupOf(const QString &code, const QString &name, const QString &suffix);
    const Kept *keptFood(int fdc) const;

    struct Derivation {
        QString code;
        QString source; // the code of its source, if any
    };

    Progress progress;
    QString foodFile;              // food.csv as messages name it
    QHash<int, int> nutrientIndex; // nutrient.csv id to nutrients
    std::vector<Nutrient> nutrients;
    QHash<int, QString> units;
    QHash<int, int> categories; // food_category.csv id to groups
    QHash<int, QString> wweiaNames;
    QHash<int, int> ndbNumbers; // fdc id to NDB number
    QHash<int, int> surveyGroups;
    QList<Group> groups;
    QHash<QString, int> groupCodes;
    std::vector<Branded> branded; // ascending by fdc id after readBranded
    QStringList brands;
    std::vector<Kept> kept; // ascending by fdc id after numberFoods
    struct Candidate {
        int keptIndex;
        QString published;
    };
    QHash<int, QList<Candidate>> ndbCandidates;
    int kindCounts[4] = {};
    // Per data type: the foods its own table lists (ascending), whether the download has that
    // table, and the foods of food.csv left out as not listed.
    std::vector<int> listed[4];
    bool tableRead[4] = {};
    int notCurrent[4] = {};
    QHash<int, QString> sourceCodes; // food_nutrient_source.csv id to code
    QHash<int, Derivation> derivations;
    QHash<int, QString> foodNotes; // fdc id to the footnote of foundation_food.csv
    std::map<int, qint64> skipped; // nutrient ids that nutrient.csv lacks, with their figures
    qint64 figureRows = 0;
    QString published;
    int groupsWritten = 0;
    DataInfo info;
    QString error;
};
