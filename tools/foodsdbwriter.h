// Writes FOODS.db from the USDA data read by one of the builder's readers.
#pragma once

#include "tools/srdata.h"

#include <QString>

class SQLiteDB;

// The file is made beside the output under a temporary name and renamed over the output only when
// it is complete, so a failed build never leaves a half-written FOODS.db behind. It holds the food
// tables, the indexes for the program's statements, the twenty Top 15 ranking tables (built by
// the program's own cache code, so that an installed read-only file needs no write) and the
// release number as PRAGMA user_version.
class FoodsDbWriter {
public:
    struct Options {
        bool wordTokens = false; // store frequent words as tokens (see WordTokenizer)
    };

    bool write(const SrData &data, const QString &path, const Options &options,
               const Progress &progress = {});
    QString errorString() const { return error; }

    // Figures of the last successful write.
    int dictionarySize() const { return dictionaryEntries; }
    int rankingTables() const { return rankings; }

private:
    bool fail(const QString &message);
    bool fill(SQLiteDB &db, const SrData &data, const Options &options, const Progress &progress);

    QString error;
    int dictionaryEntries = 0;
    int rankings = 0;
};
