// Fuzzes search-text splitting and the assembly of every statement that carries typed or stored
// text: each statement must stay one statement, every quote balanced, every value inside its
// literal; it must read only, and running it through SQLiteDB must leave the database as it was.
// Input: one flag byte (1: a group restriction, 2: every word must match, 4: the group name is the
// text itself, 8: no trigram index), then the search text in UTF-8. The database has the trigram
// index and a barcode table.
#include "db/foodsdatabase.h"
#include "db/foodsschema.h"
#include "db/sqlitedb.h"
#include "finding/foodsearch.h"
#include "finding/statements.h"
#include "fuzz/fuzz_common.h"

#include <QDir>
#include <QRegularExpression>
#include <QStringList>

#include <sqlite3.h>
#include <unistd.h>

namespace {

sqlite3 *raw = nullptr;         // a second connection, for preparing and for checking the contents
FoodsDatabase *foods = nullptr; // the program's database on the same file
SQLiteDB *db = nullptr;         // its connection
int fingerprintAtStart = 0;

int countOf(const char *sql) {
    sqlite3_stmt *stmt = nullptr;
    int n = -1;
    if (sqlite3_prepare_v2(raw, sql, -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
        n = sqlite3_column_int(stmt, 0);
    sqlite3_finalize(stmt);
    return n;
}

int contentsFingerprint() {
    return countOf("select count(*) from sqlite_master") * 1000000 +
           countOf("select count(*) from FOODS_GROUP") * 10000 +
           countOf("select count(*) from FOODS_WR") * 100 +
           countOf("select count(*) from WORDS_WR");
}

struct Literals {
    QString skeleton;     // the statement with every literal emptied to ''
    QStringList values;   // what each literal stands for, doubled quotes undone
    bool balanced = true; // no literal left open at the end
};

Literals splitLiterals(const QString &sql) {
    Literals out;
    bool inside = false;
    QString value;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql.at(i);
        if (!inside) {
            out.skeleton += c;
            if (c == QLatin1Char('\'')) {
                inside = true;
                value.clear();
            }
        } else if (c == QLatin1Char('\'')) {
            if (i + 1 < sql.size() && sql.at(i + 1) == QLatin1Char('\'')) {
                value += c;
                ++i;
            } else {
                inside = false;
                out.values << value;
                out.skeleton += c;
            }
        } else {
            value += c;
        }
    }
    out.balanced = !inside;
    return out;
}

// One statement built around the values: the literals hold exactly the values and nothing of
// the statement's own text depends on them.
void checkStatement(const QString &sql, const QString &skeleton, const QStringList &values) {
    const Literals parts = splitLiterals(sql);
    FUZZ_CHECK(parts.balanced, sql);
    FUZZ_CHECK(parts.skeleton == skeleton, sql + QStringLiteral("\nexpected shape: ") + skeleton);
    // A NUL is left out of a value: the library would end the statement there.
    QStringList placed = values;
    for (QString &value : placed)
        value.remove(QChar(0));
    FUZZ_CHECK(parts.values == placed, sql);
    FUZZ_CHECK(!sql.contains(QChar(0)), sql);

    const QByteArray utf8 = sql.toUtf8();
    const int before = contentsFingerprint();
    if (!utf8.contains('\0')) {
        sqlite3_stmt *stmt = nullptr;
        const char *tail = nullptr;
        const int rc = sqlite3_prepare_v2(raw, utf8.constData(), int(utf8.size()), &stmt, &tail);
        if (rc == SQLITE_OK) {
            FUZZ_CHECK(stmt != nullptr, sql);
            FUZZ_CHECK(sqlite3_stmt_readonly(stmt) != 0, sql);
            for (const char *p = tail; p && p < utf8.constData() + utf8.size(); ++p)
                FUZZ_CHECK(*p == ' ' || *p == '\n' || *p == '\t' || *p == '\r', sql);
        }
        sqlite3_finalize(stmt);
    }
    // The wrapper runs it, or refuses it (text after a NUL, a syntax error): either way nothing
    // changes.
    db->tryRun(sql);
    FUZZ_CHECK(contentsFingerprint() == before, sql);
}

const QString separators = QStringLiteral(",| ()+");

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    // In memory where there is such a file system: the store syncs every file it writes.
    char dir[] = "/dev/shm/kalo-fuzz-search-XXXXXX";
    char fallback[] = "/tmp/kalo-fuzz-search-XXXXXX";
    const char *made = mkdtemp(dir);
    if (!made)
        made = mkdtemp(fallback);
    if (!made)
        std::abort();
    static QString scratch;
    scratch = QString::fromUtf8(made);
    std::atexit([] { QDir(scratch).removeRecursively(); });
    const QString path = QString::fromUtf8(made) + QStringLiteral("/FOODS.db");
    SQLiteDB setupDb(path, true);
    QStringList setup = foodsSchemaStatements();
    setup << foodsIndexStatements()
          << QStringLiteral("insert into FOODS_GROUP values ('0100', 'Dairy and Egg Products')")
          << QStringLiteral("insert into FOODS_GROUP values ('0200', 'Grandma''s Pies')")
          << QStringLiteral("insert into WORDS_WR values ('@CHD@', 'cheddar')")
          << QStringLiteral("insert into FOODS_WR (NDB_No, desc, FdGrp_Cd) values "
                            "(1009, 'Cheese, @CHD@', '0100')")
          << QStringLiteral("insert into FOODS_WR (NDB_No, desc, FdGrp_Cd) values "
                            "(2001, 'Pie, apple, Grandma''s', '0200')")
          << QStringLiteral("create virtual table FOODS_FTS using fts5(\"desc\", "
                            "content='FOODS_WR', content_rowid='NDB_No', tokenize='trigram')")
          << QStringLiteral("insert into FOODS_FTS(FOODS_FTS) values('rebuild')")
          << QStringLiteral("create table BARCODES (Code TEXT, NDB_No INTEGER)")
          << QStringLiteral("insert into BARCODES values ('12345678', 2001)");
    for (const QString &sql : setup) {
        if (!setupDb.run(sql))
            fuzzFail("setting up the database", sql + QLatin1Char(' ') + setupDb.lastError());
    }
    setupDb.close();
    foods = new FoodsDatabase;
    if (!foods->open(path) || !foods->loadWords())
        std::abort();
    db = &foods->connection();
    if (sqlite3_open_v2(path.toUtf8().constData(), &raw, SQLITE_OPEN_READONLY, nullptr) !=
        SQLITE_OK)
        std::abort();
    fingerprintAtStart = contentsFingerprint();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0)
        return 0;
    const uint8_t flags = data[0];
    const QString text = QString::fromUtf8(fuzzBytes(data + 1, size - 1));
    const bool restricted = flags & 1;

    // The words: no separator inside, none empty, and together every other character in order.
    const QStringList words = searchWords(text);
    QString joined;
    for (const QString &word : words) {
        FUZZ_CHECK(!word.isEmpty(), text);
        for (const QChar c : word)
            FUZZ_CHECK(!separators.contains(c), text);
        joined += word;
    }
    QString rest = text;
    for (const QChar c : separators)
        rest.remove(c);
    FUZZ_CHECK(joined == rest, text);

    checkStatement(groupCodeStatement(text),
                   QStringLiteral("select FdGrp_Cd from FOODS_GROUP where FdGrp_Desc=''"), {text});
    checkStatement(
        browseStatement(text),
        QStringLiteral("select NDB_No,desc from FOODS_WR where FdGrp_Cd='' order by desc desc"),
        {text});

    int looked = 0;
    for (const QString &word : words) {
        if (++looked > 64) // a few dozen words say all there is to say
            break;
        checkStatement(wordLookupStatement(word),
                       QStringLiteral("select WID from WORDS_WR where TEXT like ''"), {word});
    }

    // The whole search as the page runs it: each literal after the group's holds one distinct
    // word of the text or the token the dictionary has for it, between wildcards.
    const QString group =
        restricted ? ((flags & 4) ? text : QStringLiteral("Grandma's Pies")) : allCategoriesName();
    SearchOptions options;
    options.allWords = flags & 2;
    options.indexLimit = (flags & 8) ? -1 : 10000;
    const QString sql = foodSearchStatement(*foods, text, group, options, {});
    if (sql.isNull())
        return 0;
    const Literals parts = splitLiterals(sql);
    FUZZ_CHECK(parts.balanced, sql);
    QStringList terms = parts.values;
    if (restricted && !terms.isEmpty())
        terms.removeFirst(); // the group's code
    QStringList allowed = words;
    for (QString &word : allowed)
        word.remove(QChar(0));
    static const QRegularExpression phrase(QStringLiteral("\"([^\"]|\"\")*\""));
    static const QRegularExpression joiners(QStringLiteral("^([() ]|AND|OR)*$"));
    static const QRegularExpression barcode(QStringLiteral("^[1-9][0-9]{0,13}$|^0$"));
    for (const QString &value : terms) {
        // Besides the LIKE terms: the trigram query, made of quoted phrases only, and barcodes.
        if (!value.startsWith(QLatin1Char('%'))) {
            FUZZ_CHECK(barcode.match(value).hasMatch() ||
                           joiners.match(QString(value).remove(phrase)).hasMatch(),
                       sql);
            continue;
        }
        FUZZ_CHECK(value.size() >= 2 && value.endsWith(QLatin1Char('%')), sql);
        const QString term = value.mid(1, value.size() - 2);
        FUZZ_CHECK(term == QStringLiteral("@CHD@") || allowed.contains(term), sql);
        FUZZ_CHECK(terms.count(value) == 1, sql);
    }
    db->tryRun(sql);
    FUZZ_CHECK(contentsFingerprint() == fingerprintAtStart, sql);
    return 0;
}
