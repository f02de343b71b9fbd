// Writes FOODS.db from the USDA data read by one of the builder's readers.
#include "tools/foodsdbwriter.h"

#include "db/foodsschema.h"
#include "db/sqlitedb.h"
#include "db/sqltext.h"
#include "finding/topcache.h"
#include "finding/topcriteria.h"
#include "tools/wordtokenizer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

QString textLiteral(const QString &text) {
    return QLatin1Char('\'') + sqlQuoted(text) + QLatin1Char('\'');
}

QString numberLiteral(const std::optional<double> &value) {
    return value ? QString::number(*value, 'g', QLocale::FloatingPointShortest)
                 : QStringLiteral("NULL");
}

QString foodInsert(const SrFood &food, const QString &description) {
    static const QString head = [] {
        QString sql = QStringLiteral("INSERT INTO FOODS_WR (NDB_No, \"desc\", FdGrp_Cd");
        for (const char *column : foodsNutrientColumns)
            sql += QStringLiteral(", ") + QLatin1String(column);
        return sql + QStringLiteral(", GmWt_1, GmWt_Desc1, GmWt_2, GmWt_Desc2) VALUES (");
    }();
    QString sql = head;
    sql += QString::number(food.number) + QStringLiteral(", ") + textLiteral(description) +
           QStringLiteral(", ") + textLiteral(food.group);
    for (const std::optional<double> &amount : food.nutrients)
        sql += QStringLiteral(", ") + numberLiteral(amount);
    for (qsizetype i = 0; i < 2; ++i) {
        if (i < food.servings.size()) {
            const SrServing &serving = food.servings[i];
            sql += QStringLiteral(", ") + numberLiteral(serving.grams) + QStringLiteral(", ") +
                   textLiteral(servingName(serving));
        } else {
            sql += QStringLiteral(", NULL, NULL");
        }
    }
    return sql + QLatin1Char(')');
}

// The number of ranking tables the cache code makes: one per criterion that some food has a
// figure for.
int expectedRankings(const SrData &data) {
    int count = 0;
    for (int i = 0; i < topCriteriaCount; ++i) {
        size_t column = 0;
        while (qstrcmp(foodsNutrientColumns[column], topColumns[i]) != 0)
            ++column;
        for (const SrFood &food : data.foods) {
            if (food.nutrients[column]) {
                ++count;
                break;
            }
        }
    }
    return count;
}

bool flushToDisk(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && ::fsync(file.handle()) == 0;
}

} // namespace

bool FoodsDbWriter::fail(const QString &message) {
    error = message;
    return false;
}

bool FoodsDbWriter::write(const SrData &data, const QString &path, const Options &options,
                          const Progress &progress) {
    error.clear();
    dictionaryEntries = 0;
    rankings = 0;
    for (const SrFood &food : data.foods) {
        // The program reads every '@' of a description as a token delimiter.
        if (food.description.contains(QLatin1Char('@')))
            return fail(QStringLiteral("food %1: its description holds '@', which the program "
                                       "would read as a word token: %2")
                            .arg(food.number)
                            .arg(food.description));
    }

    const QFileInfo target(path);
    QTemporaryFile temporary(
        target.absoluteDir().filePath(target.fileName() + QStringLiteral(".XXXXXX.tmp")));
    if (!temporary.open())
        return fail(QStringLiteral("%1: cannot create a file beside it: %2")
                        .arg(path, temporary.errorString()));
    const QString temporaryPath = temporary.fileName();
    temporary.close(); // kept on disk, and removed when the build fails

    {
        SQLiteDB db;
        if (!db.open(temporaryPath, true))
            return fail(QStringLiteral("%1: %2").arg(temporaryPath, db.lastError()));
        if (!fill(db, data, options, progress))
            return fail(QStringLiteral("%1: %2").arg(path, error));
        db.close();
    }
    if (!flushToDisk(temporaryPath))
        return fail(QStringLiteral("%1: cannot flush it to disk").arg(temporaryPath));
    // Readable by all, like any installed data file (the temporary file is private).
    QFile::setPermissions(temporaryPath, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                             QFileDevice::ReadGroup | QFileDevice::ReadOther);
    // rename() replaces the output in one step; QFile::rename would refuse an existing file.
    if (std::rename(QFile::encodeName(temporaryPath).constData(),
                    QFile::encodeName(path).constData()) != 0)
        return fail(QStringLiteral("%1: cannot replace it: %2")
                        .arg(path, QString::fromLocal8Bit(std::strerror(errno))));
    return true;
}

bool FoodsDbWriter::fill(SQLiteDB &db, const SrData &data, const Options &options,
                         const Progress &progress) {
    auto run = [&](const QString &sql) {
        db.exec(sql, false);
        if (db.hasError())
            return fail(QStringLiteral("%1 (in: %2)").arg(db.lastError(), sql.left(200)));
        return true;
    };
    // The file is private until renamed, and thrown away on any failure: no need for a journal
    // on disk or for syncing each step (the whole file is flushed once at the end).
    if (!run(QStringLiteral("PRAGMA journal_mode=MEMORY")) ||
        !run(QStringLiteral("PRAGMA synchronous=OFF")))
        return false;

    QStringList descriptions;
    descriptions.reserve(qsizetype(data.foods.size()));
    for (const SrFood &food : data.foods)
        descriptions.append(food.description);
    std::optional<WordTokenizer> tokenizer;
    if (options.wordTokens)
        tokenizer.emplace(descriptions);

    if (!run(QStringLiteral("begin")))
        return false;
    for (const QString &sql : foodsSchemaStatements()) {
        if (!run(sql))
            return false;
    }
    for (const SrGroup &group : data.groups) {
        if (!run(QStringLiteral("INSERT INTO FOODS_GROUP (FdGrp_Cd, FdGrp_Desc) VALUES (%1, %2)")
                     .arg(textLiteral(group.code), textLiteral(group.name))))
            return false;
    }
    const qsizetype total = qsizetype(data.foods.size());
    for (qsizetype i = 0; i < total; ++i) {
        if (progress && i % 500 == 0)
            progress(QStringLiteral("writing foods"), i, total);
        const SrFood &food = data.foods[size_t(i)];
        const QString stored = tokenizer ? tokenizer->tokenize(food.description) : food.description;
        if (!run(foodInsert(food, stored)))
            return false;
    }
    if (progress)
        progress(QStringLiteral("writing foods"), total, total);
    if (tokenizer) {
        for (const auto &entry : tokenizer->dictionary()) {
            if (!run(QStringLiteral("INSERT INTO WORDS_WR (WID, TEXT) VALUES (%1, %2)")
                         .arg(textLiteral(entry.first), textLiteral(entry.second))))
                return false;
        }
        dictionaryEntries = int(tokenizer->dictionary().size());
    }
    for (const QString &sql : foodsIndexStatements()) {
        if (!run(sql))
            return false;
    }
    if (!run(QStringLiteral("PRAGMA user_version=%1").arg(data.release)))
        return false;
    if (!run(QStringLiteral("commit")))
        return false;

    // The program's own cache code, in its own transaction, exactly as at a first start.
    if (progress)
        progress(QStringLiteral("ranking"), 0, topCriteriaCount);
    prepareTopCache(db);
    const ResultRows tables =
        db.exec(QStringLiteral(
                    "select name from sqlite_master where type='table' and name like 'topdata%'"),
                false);
    rankings = tables.rowCount();
    // Every criterion that some food has a figure for must be cached: an installed file is read
    // only, and the program could not build the missing rankings there.
    if (rankings != expectedRankings(data))
        return fail(QStringLiteral("the Top 15 rankings were not built (%1 of %2 tables)")
                        .arg(rankings)
                        .arg(expectedRankings(data)));
    if (progress)
        progress(QStringLiteral("ranking"), topCriteriaCount, topCriteriaCount);
    return true;
}
