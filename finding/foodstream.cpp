// The foods of one list statement, read a slice at a time, and their descriptions as shown.
#include "finding/foodstream.h"

#include "db/rowcursor.h"

#include <QElapsedTimer>

#include <algorithm>

namespace {

// Rows are read for this long before events run again (the first slice too): a list that takes
// longer shows its first screen after one slice, and a pending paint waits at most one slice.
constexpr qint64 sliceNanoseconds = 4'000'000;

} // namespace

FoodStream::FoodStream(SQLiteDB &database, const WordIndex &wordIndex, const QString &statement,
                       Qt::SortOrder order, const QStringList &rankWords)
    : db(database)
    , words(wordIndex)
    , sql(statement)
    , fetchOrder(order)
    , ranked(!BestMatch(rankWords).isEmpty())
    , match(rankWords)
    , storedOrderIsShown(wordIndex.isEmpty())
    , shownOrder(ranked                        ? Order::BestMatch
                 : order == Qt::AscendingOrder ? Order::NameAscending
                                               : Order::NameDescending)
    , shownDescriptions(db, words) {
    nextSlice.setSingleShot(true);
    connect(&nextSlice, &QTimer::timeout, this, &FoodStream::readSlice);
}

FoodStream::~FoodStream() = default;

bool FoodStream::start() {
    cursor = std::make_unique<RowCursor>(db, sql);
    if (cursor->hasError()) {
        failure = cursor->error();
        cursor.reset();
        return false;
    }
    paused = true;
    readSlice();
    return failure.isNull() || !ids.empty();
}

void FoodStream::resume() {
    paused = false;
    if (!done)
        nextSlice.start(0);
}

bool FoodStream::finish(int rowLimit) {
    while (!done && ids.size() <= size_t(rowLimit))
        readSlice();
    return done;
}

void FoodStream::readSlice() {
    if (done || !cursor)
        return;
    const int before = count();
    // Descriptions are read only where they are kept or ranked.
    const bool readDescriptions = ranked || !storedOrderIsShown;
    QElapsedTimer clock;
    clock.start();
    for (int n = 1; cursor->next(); ++n) {
        ids.push_back(cursor->integer(0));
        if (readDescriptions) {
            const QString shown = expandDescription(cursor->text(1), words);
            if (ranked)
                ranks.push_back(match.rank(shown));
            if (!storedOrderIsShown)
                descriptions.append(shown);
        }
        if (n % 64 == 0 && clock.nsecsElapsed() >= sliceNanoseconds)
            break;
    }
    if (cursor->hasError()) {
        failure = cursor->error();
        complete(); // the rows read so far stay, in the order the list shows
        emit failed(failure);
    } else if (cursor->atEnd()) {
        complete();
    } else if (!paused) {
        nextSlice.start(0);
    }
    if (count() > before)
        emit rowsAdded(before);
    if (done && failure.isNull())
        emit finished();
}

void FoodStream::complete() {
    cursor.reset();
    done = true;
    const int n = int(ids.size());
    if (!storedOrderIsShown) {
        nameOrder.resize(size_t(n));
        for (int i = 0; i < n; ++i)
            nameOrder[size_t(i)] = i;
        std::stable_sort(nameOrder.begin(), nameOrder.end(),
                         [this](int a, int b) { return descriptions.at(a) < descriptions.at(b); });
    }
    if (!ranked)
        return;
    // Equal ranks keep the ascending name order.
    std::vector<int> position(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        if (!storedOrderIsShown)
            position[size_t(nameOrder[size_t(i)])] = i;
        else
            position[size_t(i)] = fetchOrder == Qt::AscendingOrder ? i : n - 1 - i;
    }
    rankOrder.resize(size_t(n));
    for (int i = 0; i < n; ++i)
        rankOrder[size_t(i)] = i;
    std::sort(rankOrder.begin(), rankOrder.end(), [&](int a, int b) {
        const quint32 ra = ranks[size_t(a)];
        const quint32 rb = ranks[size_t(b)];
        return ra != rb ? ra < rb : position[size_t(a)] < position[size_t(b)];
    });
    ranks = std::vector<quint32>();
}

int FoodStream::count() const {
    if (!done && (ranked || !storedOrderIsShown))
        return 0; // shown once all rows are read and ordered
    return int(ids.size());
}

int FoodStream::fetchIndex(int row) const {
    const int last = int(ids.size()) - 1;
    const bool ascending = fetchOrder == Qt::AscendingOrder;
    switch (shownOrder) {
    case Order::BestMatch:
        return rankOrder[size_t(row)];
    case Order::NameAscending:
        return storedOrderIsShown ? (ascending ? row : last - row) : nameOrder[size_t(row)];
    case Order::NameDescending:
        return storedOrderIsShown ? (ascending ? last - row : row) : nameOrder[size_t(last - row)];
    }
    return row;
}

qint64 FoodStream::foodId(int row) const {
    if (row < 0 || row >= count())
        return 0;
    return ids[size_t(fetchIndex(row))];
}

QString FoodStream::description(int row) {
    if (row < 0 || row >= count())
        return QString();
    const int index = fetchIndex(row);
    if (!storedOrderIsShown)
        return descriptions.at(index);
    const qint64 id = ids[size_t(index)];
    if (readingInTurn && done) {
        const QString passedText = passDescription(index, id);
        if (!passedText.isNull())
            return passedText;
    }
    return shownDescriptions.description(id);
}

void FoodStream::setReadingInTurn(bool on) {
    readingInTurn = on;
    pass.reset();
    passed = -1;
}

// The description of the row at the fetch index from the second pass, where that row is the
// pass's next one; null where it is not, and the pass ends.
QString FoodStream::passDescription(int index, qint64 id) {
    if (index != passed + 1) {
        pass.reset();
        passed = -2;
        return QString();
    }
    if (!pass)
        pass = std::make_unique<RowCursor>(db, sql);
    if (!pass->next() || pass->integer(0) != id) {
        pass.reset();
        passed = -2;
        return QString();
    }
    passed = index;
    return expandDescription(pass->text(1), words);
}

void FoodStream::setOrder(Order order) {
    if (order == Order::BestMatch && !ranked)
        return;
    shownOrder = order;
}

bool FoodStream::addsAtTop() const {
    const bool ascending = fetchOrder == Qt::AscendingOrder;
    return (shownOrder == Order::NameAscending && !ascending) ||
           (shownOrder == Order::NameDescending && ascending);
}
