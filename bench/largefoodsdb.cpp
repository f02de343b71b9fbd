// kalo_largefoodsdb: writes a large FOODS.db for the scale benchmarks from a small real one: its
// foods first, unchanged, then copies of them with new numbers, the later parts of each
// description shuffled, amounts varied by up to a tenth; with the trigram index, barcodes for a
// third of the copies, the browsing indexes and the ranking cache.
#include "db/foodsschema.h"
#include "db/sqlitedb.h"
#include "finding/topcache.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <sqlite3.h>
#include <vector>

namespace {

[[noreturn]] void fail(const QString &text) {
    std::fprintf(stderr, "kalo_largefoodsdb: %s\n", qPrintable(text));
    std::exit(1);
}

void run(sqlite3 *db, const QString &sql) {
    char *message = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        const QString text = QString::fromUtf8(message ? message : "?");
        sqlite3_free(message);
        fail(sql + QStringLiteral(": ") + text);
    }
}

struct SourceFood {
    qint64 id = 0;
    QByteArray group;
    QStringList parts;              // the description split at ", "
    std::vector<QByteArray> values; // every other column as text, in table order
    std::vector<bool> nulls;
    std::vector<bool> numeric;
};

constexpr int firstCopyNumber = 100000;

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4)
        fail(QStringLiteral("usage: kalo_largefoodsdb SOURCE.db OUTPUT.db FOODS"));
    const QString source = args.at(1);
    const QString output = args.at(2);
    const int total = args.at(3).toInt();
    QElapsedTimer clock;
    clock.start();

    sqlite3 *in = nullptr;
    if (sqlite3_open_v2(source.toUtf8().constData(), &in, SQLITE_OPEN_READONLY, nullptr) !=
        SQLITE_OK)
        fail(QStringLiteral("cannot open %1").arg(source));
    std::vector<SourceFood> foods;
    QStringList columnNames;
    {
        sqlite3_stmt *stmt = nullptr;
        if (sqlite3_prepare_v2(in, "select * from FOODS_WR order by NDB_No", -1, &stmt, nullptr) !=
            SQLITE_OK)
            fail(QString::fromUtf8(sqlite3_errmsg(in)));
        const int columns = sqlite3_column_count(stmt);
        for (int c = 0; c < columns; ++c)
            columnNames << QString::fromUtf8(sqlite3_column_name(stmt, c));
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            SourceFood food;
            food.id = sqlite3_column_int64(stmt, 0);
            food.parts =
                QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 1)))
                    .split(QStringLiteral(", "));
            food.group = reinterpret_cast<const char *>(sqlite3_column_text(stmt, 2));
            for (int c = 3; c < columns; ++c) {
                const int type = sqlite3_column_type(stmt, c);
                food.nulls.push_back(type == SQLITE_NULL);
                food.numeric.push_back(type == SQLITE_INTEGER || type == SQLITE_FLOAT);
                food.values.emplace_back(
                    reinterpret_cast<const char *>(sqlite3_column_text(stmt, c)));
            }
            foods.push_back(std::move(food));
        }
        sqlite3_finalize(stmt);
    }
    if (foods.empty() || columnNames.size() < 4)
        fail(QStringLiteral("no foods in %1").arg(source));

    QFile::remove(output);
    sqlite3 *out = nullptr;
    if (sqlite3_open_v2(output.toUtf8().constData(), &out,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK)
        fail(QStringLiteral("cannot create %1").arg(output));
    run(out, QStringLiteral("PRAGMA journal_mode=OFF"));
    run(out, QStringLiteral("PRAGMA synchronous=OFF"));
    for (const QString &sql : foodsSchemaStatements())
        run(out, sql);
    run(out, QStringLiteral("BEGIN"));
    run(out, QStringLiteral("ATTACH DATABASE '%1' AS source")
                 .arg(QString(source).replace(QLatin1Char('\''), QStringLiteral("''"))));
    run(out, QStringLiteral("INSERT INTO FOODS_GROUP SELECT * FROM source.FOODS_GROUP"));
    run(out, QStringLiteral("INSERT INTO WORDS_WR SELECT * FROM source.WORDS_WR"));
    run(out, QStringLiteral("COMMIT"));
    run(out, QStringLiteral("DETACH DATABASE source"));
    sqlite3_close(in);

    run(out, QStringLiteral("BEGIN"));
    QString insert = QStringLiteral("INSERT INTO FOODS_WR VALUES (?");
    for (int c = 1; c < columnNames.size(); ++c)
        insert += QStringLiteral(", ?");
    insert += QLatin1Char(')');
    sqlite3_stmt *put = nullptr;
    if (sqlite3_prepare_v2(out, insert.toUtf8().constData(), -1, &put, nullptr) != SQLITE_OK)
        fail(QString::fromUtf8(sqlite3_errmsg(out)));
    sqlite3_stmt *code = nullptr;
    if (sqlite3_prepare_v2(out, "CREATE TABLE BARCODES (Code TEXT, NDB_No INTEGER)", -1, &code,
                           nullptr) != SQLITE_OK ||
        sqlite3_step(code) != SQLITE_DONE)
        fail(QString::fromUtf8(sqlite3_errmsg(out)));
    sqlite3_finalize(code);
    if (sqlite3_prepare_v2(out, "INSERT INTO BARCODES VALUES (?, ?)", -1, &code, nullptr) !=
        SQLITE_OK)
        fail(QString::fromUtf8(sqlite3_errmsg(out)));

    std::mt19937 random(20240601);
    std::uniform_real_distribution<double> vary(0.9, 1.1);
    const int n = int(foods.size());
    for (int i = 0; i < total; ++i) {
        const SourceFood &food = foods[size_t(i % n)];
        const bool copy = i >= n;
        QStringList parts = food.parts;
        if (copy && parts.size() > 2)
            std::shuffle(parts.begin() + 1, parts.end(), random);
        if (copy && parts.size() > 1 && random() % 2 == 0) {
            // A later part from another food, so that copies differ in more than their order.
            const SourceFood &other = foods[random() % size_t(n)];
            if (other.parts.size() > 1)
                parts.last() = other.parts.at(1 + int(random() % quint32(other.parts.size() - 1)));
        }
        const qint64 number = copy ? firstCopyNumber + i : food.id;
        const QByteArray desc = parts.join(QStringLiteral(", ")).toUtf8();
        sqlite3_bind_int64(put, 1, number);
        sqlite3_bind_text(put, 2, desc.constData(), int(desc.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(put, 3, food.group.constData(), int(food.group.size()), SQLITE_TRANSIENT);
        for (size_t c = 0; c < food.values.size(); ++c) {
            const int slot = int(c) + 4;
            if (food.nulls[c]) {
                sqlite3_bind_null(put, slot);
            } else if (food.numeric[c]) {
                const double value = food.values[c].toDouble() * (copy ? vary(random) : 1.0);
                sqlite3_bind_double(put, slot, std::round(value * 1000.0) / 1000.0);
            } else {
                sqlite3_bind_text(put, slot, food.values[c].constData(), int(food.values[c].size()),
                                  SQLITE_TRANSIENT);
            }
        }
        if (sqlite3_step(put) != SQLITE_DONE)
            fail(QString::fromUtf8(sqlite3_errmsg(out)));
        sqlite3_reset(put);
        if (copy && i % 3 == 0) {
            // A UPC-A or EAN-13 code with its leading zeros removed, as the builder stores them.
            const QByteArray digits = QByteArray::number(qint64(700000000000) + i);
            sqlite3_bind_text(code, 1, digits.constData(), int(digits.size()), SQLITE_TRANSIENT);
            sqlite3_bind_int64(code, 2, number);
            if (sqlite3_step(code) != SQLITE_DONE)
                fail(QString::fromUtf8(sqlite3_errmsg(out)));
            sqlite3_reset(code);
        }
    }
    sqlite3_finalize(put);
    sqlite3_finalize(code);
    run(out, QStringLiteral("COMMIT"));
    std::fprintf(stderr, "kalo_largefoodsdb: %d foods written in %.1f s\n", total,
                 double(clock.elapsed()) / 1000.0);

    for (const QString &sql : foodsIndexStatements())
        run(out, sql);
    run(out, QStringLiteral("CREATE INDEX BARCODES_code ON BARCODES (Code)"));
    run(out, QStringLiteral("CREATE VIRTUAL TABLE FOODS_FTS USING fts5(\"desc\", "
                            "content='FOODS_WR', content_rowid='NDB_No', tokenize='trigram')"));
    run(out, QStringLiteral("INSERT INTO FOODS_FTS(FOODS_FTS) VALUES('rebuild')"));
    std::fprintf(stderr, "kalo_largefoodsdb: indexes built after %.1f s\n",
                 double(clock.elapsed()) / 1000.0);
    sqlite3_close(out);

    SQLiteDB db(output, false);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    prepareTopCache(db);
    if (!db.tableExists(QStringLiteral("topdata_FA_Sat_0")))
        fail(QStringLiteral("the ranking cache was not built"));
    std::fprintf(stderr, "kalo_largefoodsdb: done after %.1f s\n",
                 double(clock.elapsed()) / 1000.0);
    return 0;
}
