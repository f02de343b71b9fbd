// Reads USDA SR24 from the data jar that Debian ships in the package cronometer.
#pragma once

#include "tools/srdata.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The jar is a zip holding <dir>/foods.index ("NDB_No|Long_Desc" lines) and one <dir>/NNNNN.xml
// per food with its measures and nutrients. The current foods are those of foods.index whose file
// lists nutrients. Messages name the jar, the entry and the line: "jar: usda_sr24/01009.xml:1:
// ...".
class Sr24JarReader {
public:
    // Reads the jar file; false with errorString() set when it cannot be read or holds bad data.
    bool readFile(const QString &path, const Progress &progress = {});
    // Reads a jar held in memory; name stands for it in messages. Touches no file.
    bool readBytes(const QByteArray &zip, const QString &name, const Progress &progress = {});

    QString errorString() const { return error; }
    // The data read, release 24; valid after a successful read.
    const SrData &data() const { return result; }
    SrData takeData() { return std::move(result); }
    // Foods of the index left out because their file lists no nutrient.
    const QList<int> &foodsWithoutNutrients() const { return withoutNutrients; }

    struct IndexEntry {
        int number = 0;
        QString key; // the number as written ("01009"), which names the food's file
        QString description;
        int line = 0;
    };
    // Parses foods.index. fileName stands for the file in messages.
    static bool parseIndex(const QByteArray &bytes, const QString &fileName,
                           QList<IndexEntry> *entries, QString *errorMessage);
    // Parses one food file into the nutrients and servings of food; hasNutrients says whether it
    // lists any nutrient at all. The root's uid must be key; a nutrient name must be one of
    // sr24-nutrients.tsv.
    static bool parseFood(const QByteArray &bytes, const QString &fileName, const QString &key,
                          SrFood *food, bool *hasNutrients, QString *errorMessage);

private:
    bool fail(const QString &message);

    SrData result;
    QList<int> withoutNutrients;
    QString error;
};
