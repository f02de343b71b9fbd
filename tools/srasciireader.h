// Reads the USDA SR ASCII release files (Release 14 onward).
#pragma once

#include "tools/srdata.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

// Five files are read: FD_GROUP.txt, FOOD_DES.txt, NUTR_DEF.txt, NUT_DATA.txt and WEIGHT.txt;
// and where present what the figures rest on: NUT_DATA.txt's number of data points, standard
// error, source and derivation codes, minimum and maximum, and the files FOOTNOTE.txt,
// DERIV_CD.txt and SRC_CD.txt.
// Fields are separated by '^', text fields wrapped in '~', an empty field is null; lines end in CR
// LF and text is Windows code page 1252. Fields past the ones used are ignored, so the shorter
// records of early releases read as well. Messages name the file and line: "FOOD_DES.txt:12: ...".
class SrAsciiReader {
public:
    explicit SrAsciiReader(int release = 0);

    // Reads the five files from the folder (their names in any letter case) and combines them.
    bool readDirectory(const QString &folder, const Progress &progress = {});

    // Parse the bytes of one file each, touching no disk; fileName stands for the file in
    // messages. They may come in any order; finish() then combines them.
    bool parseGroups(const QByteArray &bytes, const QString &fileName);
    bool parseFoods(const QByteArray &bytes, const QString &fileName);
    bool parseNutrientDefinitions(const QByteArray &bytes, const QString &fileName);
    bool parseNutrients(const QByteArray &bytes, const QString &fileName);
    bool parseWeights(const QByteArray &bytes, const QString &fileName);
    // Checks every food's group and every figure's nutrient, keeps the foods that have nutrient
    // data and gives each its servings in sequence order.
    bool finish();

    QString errorString() const { return error; }
    const SrData &data() const { return result; }
    SrData takeData() { return std::move(result); }
    // Foods that NUT_DATA.txt or WEIGHT.txt name but FOOD_DES.txt lacks; their records are ignored.
    int strayFoods() const { return stray; }
    // Foods of FOOD_DES.txt left out because NUT_DATA.txt holds nothing for them.
    const QList<int> &foodsWithoutNutrients() const { return withoutNutrients; }

    // The fields of one line: '~' wrappers removed, text decoded from code page 1252. False, with
    // the reason, for an unclosed '~', text after a closing '~' or a byte that code page 1252
    // leaves undefined.
    static bool splitRecord(QByteArrayView line, QStringList *fields, QString *why);

private:
    using RecordHandler = bool (SrAsciiReader::*)(const QStringList &fields, const QString &where);
    bool parseRecords(const QByteArray &bytes, const QString &fileName, int minimumFields,
                      RecordHandler handler);
    bool takeGroup(const QStringList &fields, const QString &where);
    bool takeFood(const QStringList &fields, const QString &where);
    bool takeDefinition(const QStringList &fields, const QString &where);
    bool takeNutrient(const QStringList &fields, const QString &where);
    bool takeWeight(const QStringList &fields, const QString &where);
    bool takeFootnote(const QStringList &fields, const QString &where);
    bool takeDerivation(const QStringList &fields, const QString &where);
    bool takeSource(const QStringList &fields, const QString &where);
    bool takeCode(const QStringList &fields, const QString &where, QList<SrCode> *codes);
    bool parseFootnotes(const QByteArray &bytes, const QString &fileName);
    bool parseDerivations(const QByteArray &bytes, const QString &fileName);
    bool parseSources(const QByteArray &bytes, const QString &fileName);
    bool fail(const QString &message);

    struct FoodRecord {
        SrFood food;
        QString where; // "FOOD_DES.txt:12", for messages about the record
    };
    struct WeightRecord {
        int sequence = 0;
        SrServing serving;
    };

    int release;
    Progress progress; // while readDirectory runs
    QList<SrGroup> groups;
    QHash<QString, QString> groupNames;
    QHash<int, FoodRecord> foods;
    QList<SrNutrient> definitions;
    QHash<int, std::vector<SrAmount>> amounts;
    QHash<int, QString> firstUse; // where NUT_DATA.txt first names each nutrient number
    QSet<int> foodsWithData;
    QHash<int, QList<WeightRecord>> weights;
    QHash<int, std::vector<SrFigureBasis>> basis; // by food, of figures that say anything
    QList<SrFigureBasis> footnotes;               // number 0 for a note on the whole food
    QList<SrCode> derivations;
    QList<SrCode> sources;
    SrData result;
    QList<int> withoutNutrients;
    int stray = 0;
    QString error;
};
