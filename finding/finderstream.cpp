// The foods a Find by Nutrients query lists, read in slices, and the count of those left out.
#include "finding/finderstream.h"

#include "db/rowcursor.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace {

// Events run at least this often (the first slice too), as in FoodStream.
constexpr qint64 sliceNanoseconds = 4'000'000;
// A chunk of foods is one statement, which cannot be interrupted: it is sized to take about this.
constexpr qint64 chunkNanoseconds = 2'000'000;
constexpr int firstChunkFoods = 1024;
constexpr int fewestChunkFoods = 64;
constexpr int mostChunkFoods = 65536;
// As many foods are read in one pass for the rows and the count line.
constexpr size_t fewFoods = 16384;
// Descriptions looked up by one statement, of foods of equal amounts.
constexpr size_t descriptionBatch = 512;

// A column's number; NaN for NULL.
double amountAt(const RowCursor &row, int column) {
    return row.number(column);
}

bool sameAmount(double x, double y) {
    return x == y || (std::isnan(x) && std::isnan(y));
}

// Rows of equal amounts by stored description, then food number: key gives both for a row.
template <typename Key>
void sortTies(std::vector<size_t>::iterator first, std::vector<size_t>::iterator last,
              const Key &key) {
    std::sort(first, last, [&key](size_t a, size_t b) { return key(a) < key(b); });
}

void appendRow(std::vector<double> &to, const std::vector<double> &from, size_t row, size_t width) {
    to.insert(to.end(), from.begin() + std::ptrdiff_t(row * width),
              from.begin() + std::ptrdiff_t((row + 1) * width));
}

} // namespace

FinderStream::FinderStream(SQLiteDB &database, const WordIndex &wordIndex,
                           const FinderQuery &finderQuery, const FinderSchema &finderSchema)
    : db(database)
    , words(wordIndex)
    , query(finderQuery)
    , schema(finderSchema)
    , columns(finderColumns(finderQuery))
    , width(size_t(columns.size()))
    , conditionColumns(int(columns.size()) - 1)
    , orderColumn(size_t(columns.indexOf(finderQuery.orderNutrient)))
    , indexOrdered(finderIndexNutrient(finderQuery, finderSchema) == finderQuery.orderNutrient)
    , shownDescriptions(db, words) {
    for (const FinderCondition &condition : query.conditions)
        if (condition.nutrient == query.orderNutrient && std::isfinite(condition.amount))
            conditionColumns = int(columns.size());
    lacking.assign(size_t(conditionColumns), false);
    nextSlice.setSingleShot(true);
    connect(&nextSlice, &QTimer::timeout, this, &FinderStream::readSlice);
}

FinderStream::~FinderStream() = default;

bool FinderStream::start() {
    const QString scopeSql = finderScopeStatement(query);
    const QString indexSql = finderIndexStatement(query, schema);
    scoped = !scopeSql.isNull();
    if (!scoped) {
        // A few foods are read once, for those listed and those left out alike, even where an
        // index could list them.
        RowCursor foods(db, QStringLiteral("select count(*) from (select 1 from FOODS_WR limit %1)")
                                .arg(fewFoods + 1));
        few = foods.next() && foods.integer(0) <= qint64(fewFoods);
    }
    if (scoped) {
        phase = Phase::Scope;
        cursor = std::make_unique<RowCursor>(db, scopeSql);
    } else if (!indexSql.isNull() && !few) {
        phase = Phase::Index;
        cursor = std::make_unique<RowCursor>(db, indexSql);
    } else {
        beginChunks(Phase::Rows);
    }
    if (cursor && cursor->hasError()) {
        failure = cursor->error();
        cursor.reset();
        phase = Phase::Done;
        return false;
    }
    paused = true;
    readSlice();
    return failure.isNull() || count() > 0;
}

void FinderStream::resume() {
    paused = false;
    if (phase != Phase::Done)
        nextSlice.start(0);
}

void FinderStream::finish() {
    while (phase != Phase::Done)
        readSlice();
}

bool FinderStream::finishRows(int rowLimit) {
    while (!rowsDone && phase != Phase::Done && count() <= rowLimit)
        readSlice();
    return rowsDone;
}

void FinderStream::readSlice() {
    if (phase == Phase::Done)
        return;
    const int before = count();
    const bool rowsBefore = rowsDone;
    QElapsedTimer clock;
    clock.start();
    while (phase != Phase::Done && clock.nsecsElapsed() < sliceNanoseconds) {
        if (phase == Phase::Scope || phase == Phase::Index)
            readCursor(clock);
        else if (phase == Phase::Sort)
            readSort();
        else
            readChunk();
    }
    if (phase != Phase::Done && !paused)
        nextSlice.start(0);
    if (count() > before)
        emit rowsAdded(before);
    if (!failure.isNull())
        return;
    if (rowsDone && !rowsBefore)
        emit finished();
    if (countDone)
        emit counted();
}

void FinderStream::readCursor(const QElapsedTimer &clock) {
    // Both cursors give a row in a bounded time: the clock is read every few rows.
    const int shown = int(width) + 2;
    for (int n = 1; n % 64 != 0 || clock.nsecsElapsed() < sliceNanoseconds; ++n) {
        if (!cursor->next())
            break;
        if (phase == Phase::Scope) {
            scope.push_back(cursor->integer(0));
            continue;
        }
        if (cursor->integer(1) == 0)
            continue;
        // The same text is the same amount.
        if (indexOrdered && cursor->utf8(shown + 1) != QByteArrayView(tiedKey)) {
            flushTies();
            tiedKey = cursor->utf8(shown + 1).toByteArray();
        }
        if (indexOrdered)
            tied.emplace_back(cursor->utf8(shown).toByteArray(), cursor->integer(0));
        else
            found.push_back(cursor->integer(0));
        for (int c = 0; c < int(width); ++c)
            (indexOrdered ? tiedValues : foundValues).push_back(amountAt(*cursor, c + 2));
    }
    if (cursor->hasError()) {
        fail(cursor->error());
    } else if (cursor->atEnd()) {
        cursor.reset();
        if (phase == Phase::Scope) {
            std::sort(scope.begin(), scope.end());
            scope.erase(std::unique(scope.begin(), scope.end()), scope.end());
            beginChunks(Phase::Rows);
        } else {
            rowsRead();
        }
    }
}

void FinderStream::flushTies() {
    std::vector<size_t> byName(tied.size());
    std::iota(byName.begin(), byName.end(), size_t(0));
    sortTies(byName.begin(), byName.end(), [this](size_t i) { return tied[i]; });
    for (const size_t i : byName) {
        ids.push_back(tied[i].second);
        appendRow(values, tiedValues, i, width);
    }
    tied.clear();
    tiedValues.clear();
}

void FinderStream::beginChunks(Phase next) {
    phase = next;
    chunk.reset();
    // The foods left out can take far longer to read than those listed: each pass starts small.
    chunkFoods = firstChunkFoods;
    scopeDone = 0;
    scannedTo = std::numeric_limits<qint64>::min();
    if (next == Phase::Rows)
        both = scoped ? scope.size() <= fewFoods : few;
}

FinderRows FinderStream::chunkRows() const {
    return phase == Phase::Count ? FinderRows::LeftOut
           : both                ? FinderRows::Both
                                 : FinderRows::Listed;
}

bool FinderStream::nextChunk() {
    if (scoped) {
        if (scopeDone >= scope.size())
            return false;
        const size_t end = std::min(scope.size(), scopeDone + size_t(chunkFoods));
        QStringList numbers;
        for (size_t i = scopeDone; i < end; ++i)
            numbers << QString::number(scope[i]);
        scopeDone = end;
        chunk = std::make_unique<RowCursor>(
            db, finderScanStatement(query, schema,
                                    QStringLiteral("f.NDB_No in (%1)").arg(numbers.join(',')),
                                    chunkRows()));
        return true;
    }
    if (scannedTo == std::numeric_limits<qint64>::max())
        return false;
    // From the next food over chunkFoods food numbers: a gap between numbers costs nothing.
    if (!bound)
        bound = std::make_unique<RowCursor>(
            db, QStringLiteral("select NDB_No, (select max(NDB_No) from FOODS_WR) from FOODS_WR "
                               "where NDB_No > ? order by NDB_No limit 1"));
    bound->rebind(1, scannedTo);
    if (!bound->next()) {
        if (bound->hasError())
            fail(bound->error());
        return false;
    }
    const qint64 from = bound->integer(0) - 1;
    scannedTo = from >= bound->integer(1) - chunkFoods ? std::numeric_limits<qint64>::max()
                                                       : from + chunkFoods;
    if (!chunk)
        chunk = std::make_unique<RowCursor>(
            db, finderScanStatement(query, schema, QStringLiteral("f.NDB_No > ? and f.NDB_No <= ?"),
                                    chunkRows()));
    chunk->rebind(1, from);
    chunk->rebind(2, scannedTo);
    return true;
}

void FinderStream::readChunk() {
    QElapsedTimer clock;
    clock.start();
    if (!nextChunk()) {
        if (phase == Phase::Rows) {
            rowsRead();
        } else if (phase == Phase::Count) {
            countDone = true;
            phase = Phase::Done;
        }
        return;
    }
    while (chunk->next()) {
        bool listed = phase == Phase::Rows;
        for (int c = 0; both && c < conditionColumns; ++c)
            listed = listed && !chunk->isNull(c + 1);
        if (listed) {
            found.push_back(chunk->integer(0));
            for (int c = 0; c < int(width); ++c)
                foundValues.push_back(amountAt(*chunk, c + 1));
            continue;
        }
        ++moreFoods;
        for (int c = 0; c < conditionColumns; ++c)
            if (chunk->isNull(c + 1))
                lacking[size_t(c)] = true;
    }
    if (chunk->hasError()) {
        fail(chunk->error());
        return;
    }
    const qint64 took = clock.nsecsElapsed();
    if (took < chunkNanoseconds / 2)
        chunkFoods = std::min(chunkFoods * 2, mostChunkFoods);
    else if (took > chunkNanoseconds)
        chunkFoods = std::max(chunkFoods / 2, fewestChunkFoods);
}

void FinderStream::rowsRead() {
    flushTies();
    sortFound();
    phase = Phase::Sort;
}

void FinderStream::sortFound() {
    const size_t n = found.size();
    const auto amount = [&](size_t row) { return foundValues[row * width + orderColumn]; };
    const bool descending = query.order == Qt::DescendingOrder;
    order.resize(n);
    std::iota(order.begin(), order.end(), size_t(0));
    // By amount, foods without one last.
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const double x = amount(a);
        const double y = amount(b);
        if (std::isnan(x) || std::isnan(y))
            return !std::isnan(x) && std::isnan(y);
        return descending ? x > y : x < y;
    });
    // Equal amounts by description: only theirs are read.
    for (size_t first = 0; first < n;) {
        size_t last = first + 1;
        while (last < n && sameAmount(amount(order[first]), amount(order[last])))
            ++last;
        if (last - first > 1) {
            runs.emplace_back(first, last);
            for (size_t i = first; i < last; ++i)
                tiedIds.push_back(found[order[i]]);
        }
        first = last;
    }
}

void FinderStream::readSort() {
    if (tiedRead < tiedIds.size()) {
        const size_t end = std::min(tiedIds.size(), tiedRead + descriptionBatch);
        QStringList numbers;
        for (; tiedRead < end; ++tiedRead)
            numbers << QString::number(tiedIds[tiedRead]);
        RowCursor rows(db, QStringLiteral("select NDB_No, desc from FOODS_WR where NDB_No in (%1)")
                               .arg(numbers.join(',')));
        while (rows.next())
            tiedDescriptions.insert(rows.integer(0), rows.utf8(1).toByteArray());
        return;
    }
    showSorted();
    rowsDone = true;
    if (both) {
        countDone = true;
        phase = Phase::Done;
    } else {
        beginChunks(Phase::Count);
    }
}

void FinderStream::showSorted() {
    const auto key = [&](size_t row) {
        return std::make_pair(tiedDescriptions.value(found[row]), found[row]);
    };
    for (const auto &[first, last] : runs)
        sortTies(order.begin() + std::ptrdiff_t(first), order.begin() + std::ptrdiff_t(last), key);
    for (const size_t i : order) {
        ids.push_back(found[i]);
        appendRow(values, foundValues, i, width);
    }
    found = std::vector<qint64>();
    foundValues = std::vector<double>();
    order = std::vector<size_t>();
    runs.clear();
    tiedIds = std::vector<qint64>();
    tiedDescriptions.clear();
}

void FinderStream::fail(const QString &message) {
    failure = message;
    cursor.reset();
    if (!rowsDone) { // the rows read so far, in the query's order
        if (phase != Phase::Sort) {
            flushTies();
            sortFound();
        }
        showSorted();
    }
    rowsDone = true;
    phase = Phase::Done;
    emit failed(message);
}

int FinderStream::count() const {
    return int(ids.size());
}

qint64 FinderStream::foodId(int row) const {
    return row >= 0 && row < count() ? ids[size_t(row)] : 0;
}

QString FinderStream::description(int row) {
    if (row < 0 || row >= count())
        return QString();
    const qint64 id = ids[size_t(row)];
    return shownDescriptions.description(id);
}

double FinderStream::value(int row, int column) const {
    if (row < 0 || row >= count() || column < 0 || column >= columns.size())
        return std::nan("");
    return values[size_t(row) * width + size_t(column)];
}

QList<int> FinderStream::missing() const {
    QList<int> nutrients;
    for (int c = 0; c < conditionColumns; ++c)
        if (lacking[size_t(c)])
            nutrients << columns.at(c);
    return nutrients;
}
