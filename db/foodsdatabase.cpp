// The food database of one session: the open file, what it holds, and what is read from it once.
#include "db/foodsdatabase.h"

#include "db/foodsschema.h"
#include "db/transaction.h"

#include <QStringList>

namespace {

// Columns of FOODS_WR the program reads but can do without: a missing one reads as unknown.
QStringList optionalFoodColumns() {
    QStringList columns;
    for (const FoodsNutrient &nutrient : foodsNutrients)
        columns << QLatin1String(nutrient.column);
    columns << QStringLiteral("GmWt_1") << QStringLiteral("GmWt_Desc1") << QStringLiteral("GmWt_2")
            << QStringLiteral("GmWt_Desc2");
    return columns;
}

// The lower-case column names of a table; none when it does not exist.
QStringList columnNames(SQLiteDB &db, const QString &table) {
    ResultRows info;
    db.tryRun(QStringLiteral("pragma table_info(%1)").arg(table), &info);
    QStringList names;
    for (int i = 0; i < info.rowCount(); ++i)
        names << info.value(i, 1).toLower();
    return names;
}

bool isDigits(const QString &text) {
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return !text.isEmpty();
}

// The release of the first FOODS.db files, which recorded none.
constexpr int firstRelease = 14;

} // namespace

FoodsDatabase::FoodsDatabase() = default;
FoodsDatabase::~FoodsDatabase() = default;

bool FoodsDatabase::open(const QString &path) {
    tables.clear();
    missing.clear();
    wordIndex.clear();
    groupList.clear();
    writeTried = false;
    writeError = QString();
    origin = DataInfo::forSr(firstRelease);
    if (!db.open(path, false))
        return false;
    // A file without the foods and their groups counts as not opened: one error box at start,
    // instead of one at every query.
    db.exec(QStringLiteral("select FOODS_WR.NDB_No, FOODS_WR.\"desc\", FOODS_WR.FdGrp_Cd, "
                           "FOODS_GROUP.FdGrp_Cd, FOODS_GROUP.FdGrp_Desc from FOODS_WR, "
                           "FOODS_GROUP limit 0"));
    if (db.hasError()) {
        db.close(); // the library's message stays pending for the box
        return false;
    }
    learnTables();
    standInForMissingParts();
    if (hasTable(QStringLiteral("DATA_INFO"))) {
        ResultRows rows;
        if (db.tryRun(QStringLiteral("select \"Key\", Value from DATA_INFO"), &rows)) {
            DataInfo info;
            for (int i = 0; i < rows.rowCount(); ++i)
                info.setValue(rows.value(i, 0), rows.value(i, 1));
            origin = info;
        }
    } else {
        const int version = db.userVersion();
        origin = DataInfo::forSr(version > 0 ? version : firstRelease);
    }
    return true;
}

void FoodsDatabase::learnTables() {
    tables.clear();
    indexes.clear();
    ResultRows rows;
    if (!db.tryRun(QStringLiteral("select name, type from sqlite_master union select name, type "
                                  "from sqlite_temp_master"),
                   &rows))
        return;
    for (int i = 0; i < rows.rowCount(); ++i) {
        const QString type = rows.value(i, 1);
        if (type == QLatin1String("index"))
            indexes.insert(rows.value(i, 0).toLower());
        else if (type == QLatin1String("table") || type == QLatin1String("view"))
            tables.insert(rows.value(i, 0).toLower());
    }
}

bool FoodsDatabase::hasTable(const QString &name) const {
    return tables.contains(name.toLower());
}

bool FoodsDatabase::hasBarcodes() const {
    return hasTable(QStringLiteral("BARCODES"));
}

bool FoodsDatabase::hasTrigramIndex() const {
    return hasTable(QStringLiteral("FOODS_FTS"));
}

bool FoodsDatabase::hasServings() const {
    return hasTable(QStringLiteral("SERVINGS"));
}

bool FoodsDatabase::hasNutrientRecord() const {
    return hasTable(QStringLiteral("NUTRIENTS")) && hasTable(QStringLiteral("NUTRIENT_DATA"));
}

bool FoodsDatabase::hasValueIndex() const {
    return indexes.contains(QStringLiteral("nutrient_data_value"));
}

bool FoodsDatabase::isWritable() {
    return writeFailure().isNull();
}

QString FoodsDatabase::writeFailure() {
    if (writeTried)
        return writeError;
    writeTried = true;
    if (!isOpen()) {
        writeError = QStringLiteral("Invalid database.");
    } else if (db.isReadOnly()) {
        writeError = QStringLiteral("attempt to write a readonly database");
    } else {
        // Permissions are not all: a folder that cannot take the journal refuses writes too.
        Transaction check(db);
        if (check.isActive())
            db.run(QStringLiteral("create table kalo_write_check (x)"));
        writeError = db.lastError();
    } // rolled back here
    return writeError;
}

// The other parts the program reads are stood in for on this connection only, the file staying as
// it is.
void FoodsDatabase::standInForMissingParts() {
    QStringList problems;
    QString failure; // a stand-in that could not be made: the library's message
    const QStringList present = columnNames(db, QStringLiteral("FOODS_WR"));
    QString view = QStringLiteral("create temp view FOODS_WR as select *");
    QStringList absent;
    for (const QString &column : optionalFoodColumns()) {
        if (present.contains(column.toLower()))
            continue;
        absent << column;
        view += QStringLiteral(", NULL as \"%1\"").arg(column);
    }
    if (!absent.isEmpty()) {
        if (!db.run(view + QStringLiteral(" from main.FOODS_WR")))
            failure += db.lastError();
        problems << QStringLiteral("the columns %1 of FOODS_WR (their amounts are unknown)")
                        .arg(absent.join(QStringLiteral(", ")));
    }
    const QStringList words = columnNames(db, QStringLiteral("WORDS_WR"));
    if (!(words.contains(QStringLiteral("wid")) && words.contains(QStringLiteral("text")))) {
        if (!db.run(QStringLiteral("create temp table WORDS_WR (WID TEXT PRIMARY KEY, TEXT TEXT)")))
            failure += db.lastError();
        problems << QStringLiteral(
            "the word table WORDS_WR (searches look for the words as typed)");
    }
    if (problems.isEmpty())
        return;
    missing = QStringLiteral("This FOODS.db lacks ") + problems.join(QStringLiteral(" and ")) +
              QStringLiteral(". Everything else works.");
    if (!failure.isEmpty())
        missing += QStringLiteral("<br>") + failure;
}

bool FoodsDatabase::loadWords() {
    wordIndex.clear();
    if (!isOpen())
        return true;
    const ResultRows rows = db.exec(QStringLiteral("select * from WORDS_WR"));
    if (db.hasError())
        return false;
    const int count = rows.rowCount();
    wordIndex.reserve(count);
    for (int i = 0; i < count; ++i)
        wordIndex.insert(rows.value(i, 0), rows.value(i, 1)); // a repeated token: the later wins
    return true;
}

bool FoodsDatabase::loadGroups() {
    groupList.clear();
    if (!isOpen())
        return true;
    const ResultRows rows =
        db.exec(QStringLiteral("select * from FOODS_GROUP order by FdGrp_DEsc"));
    if (db.hasError())
        return false;
    for (int i = 0; i < rows.rowCount(); ++i)
        groupList.append({rows.value(i, 0), rows.value(i, 1)});
    return true;
}

QString describeFoodsDatabase(const QString &path) {
    FoodsDatabase foods;
    if (!foods.open(path))
        return QStringLiteral("none (%1: %2)").arg(path, foods.connection().lastError());
    return QStringLiteral("%1 (%2)").arg(foods.dataInfo().displayName(), path);
}

QString FoodsDatabase::description(const QString &foodId) {
    ResultRows rows;
    if (!isOpen() || !isDigits(foodId) ||
        !db.tryRun(QStringLiteral("select \"desc\" from FOODS_WR where NDB_No=%1").arg(foodId),
                   &rows))
        return QString();
    return rows.isEmpty() ? QString() : expandDescription(rows.value(0, 0), wordIndex);
}
