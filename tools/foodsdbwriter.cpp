// Writes FOODS.db from the USDA data read by one of the builder's readers.
#include "tools/foodsdbwriter.h"

#include "db/datainfo.h"
#include "db/foodsdatabase.h"
#include "db/foodsschema.h"
#include "db/sqlitedb.h"
#include "db/statement.h"
#include "db/transaction.h"
#include "finding/topcache.h"
#include "finding/toprankings.h"
#include "tools/wordtokenizer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

// Vitamin E as alpha-tocopherol equivalents, which releases before alpha-tocopherol (323) give.
constexpr int vitaminEEquivalents = 394;
constexpr int vitaminE = 323;

QString foodInsert() {
    QString columns = QStringLiteral("NDB_No, \"desc\", FdGrp_Cd");
    QString values = QStringLiteral("?, ?, ?");
    for (const FoodsNutrient &nutrient : foodsNutrients) {
        columns += QStringLiteral(", ") + QLatin1String(nutrient.column);
        values += QStringLiteral(", ?");
    }
    return QStringLiteral("INSERT INTO FOODS_WR (%1, GmWt_1, GmWt_Desc1, GmWt_2, GmWt_Desc2) "
                          "VALUES (%2, ?, ?, ?, ?)")
        .arg(columns, values);
}

// The number of ranking tables the cache code makes: one per criterion that some food has a
// figure for.
int expectedRankings(SQLiteDB &db) {
    int count = 0;
    for (int i = 0; i < topCriteriaCount; ++i) {
        const QString column = topColumn(i);
        count += db.exec(QStringLiteral("select 1 from FOODS_WR where %1 is not null and %1 <> '' "
                                        "limit 1")
                             .arg(column),
                         false)
                     .rowCount();
    }
    return count;
}

// A text the source left empty is NULL.
QString orNull(const QString &text) {
    return text.isEmpty() ? QString() : text;
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
    for (const SrFood &food : data.foods) {
        // The program reads every '@' of a description as a token delimiter.
        if (food.description.contains(QLatin1Char('@')))
            return fail(QStringLiteral("food %1: its description holds '@', which the program "
                                       "would read as a word token: %2")
                            .arg(food.number)
                            .arg(food.description));
    }
    return write(
        path,
        [&](SQLiteDB &db, QString *message) {
            if (fillSr(db, data, options, progress, message))
                return true;
            *message = QStringLiteral("%1: %2").arg(path, *message);
            return false;
        },
        progress);
}

bool FoodsDbWriter::write(const QString &path, const Fill &fill, const Progress &progress) {
    error.clear();
    dictionaryEntries = 0;
    rankings = 0;
    const QFileInfo target(path);
    QTemporaryFile temporary(
        target.absoluteDir().filePath(target.fileName() + QStringLiteral(".XXXXXX.tmp")));
    if (!temporary.open())
        return fail(QStringLiteral("%1: cannot create a file beside it: %2")
                        .arg(path, temporary.errorString()));
    const QString temporaryPath = temporary.fileName();
    temporary.close(); // kept on disk, and removed when the build fails

    {
        FoodsDatabase foods;
        SQLiteDB &db = foods.connection();
        if (!db.open(temporaryPath, true))
            return fail(QStringLiteral("%1: %2").arg(temporaryPath, db.lastError()));
        if (!build(foods, path, fill, progress))
            return false;
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

bool FoodsDbWriter::build(FoodsDatabase &foods, const QString &path, const Fill &fill,
                          const Progress &progress) {
    SQLiteDB &db = foods.connection();
    auto run = [&](const QString &sql) {
        db.exec(sql, false);
        if (db.hasError())
            return fail(QStringLiteral("%1: %2 (in: %3)").arg(path, db.lastError(), sql.left(200)));
        return true;
    };
    // The file is private until renamed, and thrown away on any failure: no need for a journal
    // on disk or for syncing each step (the whole file is flushed once at the end). A large cache
    // and a second sorting thread speed up the bulk loads of large downloads.
    for (const char *pragma : {"PRAGMA journal_mode=MEMORY", "PRAGMA synchronous=OFF",
                               "PRAGMA cache_size=-65536", "PRAGMA threads=2"}) {
        if (!run(QLatin1String(pragma)))
            return false;
    }
    for (const QString &sql : foodsSchemaStatements() + foodsRecordSchemaStatements()) {
        if (!run(sql))
            return false;
    }
    QString message;
    if (!fill(db, &message))
        return fail(message);
    if (!run(QStringLiteral("begin")))
        return false;
    if (progress)
        progress(QStringLiteral("indexing"), 0, 1);
    for (const QString &sql :
         foodsIndexStatements() + foodsRecordIndexStatements() +
             QStringList{topRankingIndexStatement(), foodsValueIndexStatement()}) {
        if (!run(sql))
            return false;
    }
    if (progress)
        progress(QStringLiteral("building the search index"), 0, 1);
    for (const QString &sql : foodsSearchIndexStatements()) {
        if (!run(sql))
            return false;
    }
    if (!run(QStringLiteral("commit")))
        return false;

    // The program's own cache code, in its own transaction, exactly as at a first start.
    if (progress)
        progress(QStringLiteral("ranking"), 0, topCriteriaCount);
    foods.learnTables();
    prepareTopCache(foods);
    const ResultRows tables =
        db.exec(QStringLiteral(
                    "select name from sqlite_master where type='table' and name like 'topdata%'"),
                false);
    rankings = tables.rowCount();
    // Every criterion that some food has a figure for must be cached: an installed file is read
    // only, and the program could not build the missing rankings there.
    const int expected = expectedRankings(db);
    if (rankings != expected)
        return fail(QStringLiteral("%1: the Top 15 rankings were not built (%2 of %3 tables)")
                        .arg(path)
                        .arg(rankings)
                        .arg(expected));
    if (progress)
        progress(QStringLiteral("ranking"), topCriteriaCount, topCriteriaCount);
    return true;
}

bool FoodsDbWriter::writeBasis(SQLiteDB &db, const SrData &data, QString *message) {
    auto failed = [&](const QString &what) {
        *message = QStringLiteral("%1: %2").arg(what, db.lastError());
        return false;
    };
    for (const QString &sql :
         foodsBasisSchemaStatements(!data.derivations.isEmpty(), !data.sources.isEmpty())) {
        db.exec(sql, false);
        if (db.hasError())
            return failed(sql);
    }
    for (const auto &[table, codes] : {std::pair(QStringLiteral("DERIVATIONS"), &data.derivations),
                                       std::pair(QStringLiteral("SOURCES"), &data.sources)}) {
        Statement insert(db, QStringLiteral("INSERT INTO %1 VALUES (?, ?)").arg(table));
        for (const SrCode &code : *codes) {
            insert.bind(1, code.code);
            insert.bind(2, code.description);
            if (!insert.run())
                return failed(QStringLiteral("%1 %2").arg(table, code.code));
        }
    }
    Statement figure(db, QStringLiteral("INSERT INTO NUTRIENT_STATS (NDB_No, Nutr_No, Data_Pts, "
                                        "Std_Error, Src_Cd, Deriv_Cd, Min, Max, Footnote) VALUES "
                                        "(?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (const SrFigureBasis &basis : data.basis) {
        figure.bind(1, basis.food);
        figure.bind(2, basis.number);
        if (basis.dataPoints)
            figure.bind(3, *basis.dataPoints);
        figure.bind(4, basis.standardError);
        figure.bind(5, orNull(basis.source));
        figure.bind(6, orNull(basis.derivation));
        figure.bind(7, basis.minimum);
        figure.bind(8, basis.maximum);
        figure.bind(9, orNull(basis.footnote));
        if (!figure.run())
            return failed(QStringLiteral("food %1, nutrient %2").arg(basis.food).arg(basis.number));
    }
    Statement note(db,
                   QStringLiteral("INSERT INTO FOOD_NOTES (NDB_No, Seq, Footnote) VALUES (?, ?, "
                                  "?)"));
    QHash<int, int> count;
    for (const SrFoodNote &foodNote : data.notes) {
        note.bind(1, foodNote.food);
        note.bind(2, ++count[foodNote.food]);
        note.bind(3, foodNote.text);
        if (!note.run())
            return failed(QStringLiteral("footnote of food %1").arg(foodNote.food));
    }
    return true;
}

bool FoodsDbWriter::fillSr(SQLiteDB &db, const SrData &data, const Options &options,
                           const Progress &progress, QString *message) {
    auto failed = [&](const QString &what) {
        *message = QStringLiteral("%1: %2").arg(what, db.lastError());
        return false;
    };
    Transaction transaction(db);
    if (!transaction.isActive())
        return failed(QStringLiteral("begin"));
    Statement group(db, QStringLiteral("INSERT INTO FOODS_GROUP (FdGrp_Cd, FdGrp_Desc) "
                                       "VALUES (?, ?)"));
    for (const SrGroup &g : data.groups) {
        group.bind(1, g.code);
        group.bind(2, g.name);
        if (!group.run())
            return failed(QStringLiteral("food group %1").arg(g.code));
    }

    std::optional<WordTokenizer> tokenizer;
    if (options.wordTokens) {
        QStringList descriptions;
        descriptions.reserve(qsizetype(data.foods.size()));
        for (const SrFood &food : data.foods)
            descriptions.append(food.description);
        tokenizer.emplace(descriptions);
    }
    Statement insertFood(db, foodInsert());
    Statement insertServing(db, QStringLiteral("INSERT INTO SERVINGS (NDB_No, Seq, Amount, "
                                               "Msre_Desc, Gm_Wgt) VALUES (?, ?, ?, ?, ?)"));
    Statement insertAmount(db, QStringLiteral("INSERT INTO NUTRIENT_DATA (NDB_No, Nutr_No, "
                                              "Nutr_Val) VALUES (?, ?, ?)"));
    QSet<int> used;
    const qsizetype total = qsizetype(data.foods.size());
    for (qsizetype i = 0; i < total; ++i) {
        if (progress && i % 500 == 0)
            progress(QStringLiteral("writing foods"), i, total);
        const SrFood &food = data.foods[size_t(i)];
        const QString what = QStringLiteral("food %1").arg(food.number);
        int column = 1;
        insertFood.bind(column++, food.number);
        insertFood.bind(column++,
                        tokenizer ? tokenizer->tokenize(food.description) : food.description);
        insertFood.bind(column++, food.group);
        for (const FoodsNutrient &nutrient : foodsNutrients) {
            const int number = nutrient.number;
            std::optional<double> amount = food.amount(number);
            if (!amount && number == vitaminE)
                amount = food.amount(vitaminEEquivalents);
            insertFood.bind(column++, amount);
        }
        for (qsizetype s = 0; s < 2; ++s) {
            if (s < food.servings.size()) {
                insertFood.bind(column++, food.servings[s].grams);
                insertFood.bind(column++, servingName(food.servings[s]));
            } else {
                insertFood.bindNull(column++);
                insertFood.bindNull(column++);
            }
        }
        if (!insertFood.run())
            return failed(what);
        for (qsizetype s = 0; s < food.servings.size(); ++s) {
            const SrServing &serving = food.servings[s];
            insertServing.bind(1, food.number);
            insertServing.bind(2, qint64(s + 1));
            insertServing.bind(3, serving.amount);
            insertServing.bind(4, serving.measure);
            insertServing.bind(5, serving.grams);
            if (!insertServing.run())
                return failed(what);
        }
        for (const SrAmount &amount : food.amounts) {
            used.insert(amount.number);
            insertAmount.bind(1, food.number);
            insertAmount.bind(2, amount.number);
            insertAmount.bind(3, amount.value);
            if (!insertAmount.run())
                return failed(what);
        }
    }
    if (progress)
        progress(QStringLiteral("writing foods"), total, total);

    Statement nutrient(db, QStringLiteral("INSERT INTO NUTRIENTS (Nutr_No, Name, Units, SR_Order) "
                                          "VALUES (?, ?, ?, ?)"));
    for (const SrNutrient &n : data.nutrients) {
        if (!used.contains(n.number))
            continue;
        nutrient.bind(1, n.number);
        nutrient.bind(2, n.name);
        nutrient.bind(3, n.units);
        nutrient.bind(4, n.order);
        if (!nutrient.run())
            return failed(QStringLiteral("nutrient %1").arg(n.number));
    }
    if (data.hasBasis && !writeBasis(db, data, message))
        return false;
    if (tokenizer) {
        Statement word(db, QStringLiteral("INSERT INTO WORDS_WR (WID, TEXT) VALUES (?, ?)"));
        for (const auto &entry : tokenizer->dictionary()) {
            word.bind(1, entry.first);
            word.bind(2, entry.second);
            if (!word.run())
                return failed(QStringLiteral("word token %1").arg(entry.first));
        }
        dictionaryEntries = int(tokenizer->dictionary().size());
    }
    if (!DataInfo::forSr(data.release).write(db))
        return failed(QStringLiteral("DATA_INFO"));
    db.exec(QStringLiteral("PRAGMA user_version=%1").arg(data.release), false);
    if (db.hasError())
        return failed(QStringLiteral("user_version"));
    return transaction.commit() || failed(QStringLiteral("commit"));
}
