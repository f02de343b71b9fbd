// Writes FOODS.db from the USDA data read by one of the builder's readers.
#pragma once

#include "tools/srdata.h"

#include <QString>

#include <functional>

class FoodsDatabase;
class SQLiteDB;

// The file is made beside the output under a temporary name and renamed over the output only when
// it is complete, so a failed build never leaves a half-written FOODS.db behind. It holds the food
// tables, the whole record of every food (servings, nutrients), where the data comes from
// (DATA_INFO), the indexes for the program's statements and its search index, and the twenty
// Top 15 ranking tables (built by the program's own cache code, so that an installed read-only
// file needs no write).
class FoodsDbWriter {
public:
    struct Options {
        bool wordTokens = false; // store frequent words as tokens (see WordTokenizer)
    };
    // Writes every row of the tables (created empty; no transaction is open, fill makes its own)
    // and DATA_INFO; false with the message in *error.
    using Fill = std::function<bool(SQLiteDB &db, QString *error)>;

    // SR data, with the release as PRAGMA user_version.
    bool write(const SrData &data, const QString &path, const Options &options,
               const Progress &progress = {});
    // Data of any source, written by fill.
    bool write(const QString &path, const Fill &fill, const Progress &progress = {});
    QString errorString() const { return error; }

    // Figures of the last successful write.
    int dictionarySize() const { return dictionaryEntries; }
    int rankingTables() const { return rankings; }

private:
    bool fail(const QString &message);
    bool build(FoodsDatabase &foods, const QString &path, const Fill &fill,
               const Progress &progress);
    bool fillSr(SQLiteDB &db, const SrData &data, const Options &options, const Progress &progress,
                QString *message);
    // The tables of what the figures rest on, filled from data.
    static bool writeBasis(SQLiteDB &db, const SrData &data, QString *message);

    QString error;
    int dictionaryEntries = 0;
    int rankings = 0;
};
