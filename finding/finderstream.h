// The foods a Find by Nutrients query lists, read in slices, and the count of those left out.
#pragma once

#include "finding/descriptionlookup.h"

#include "db/wordindex.h"
#include "finding/finderquery.h"

#include <QCache>
#include <QHash>
#include <QObject>
#include <QTimer>

#include <climits>
#include <memory>
#include <vector>

class QElapsedTimer;
class RowCursor;
class SQLiteDB;

// Reads the foods in slices of a few milliseconds with events in between, as FoodStream does.
//
// Where a value index serves the query (finderIndexStatement) and the file holds more than a few
// foods, the foods listed are read from it;
// in the order nutrient's index they are shown as they are read, the first screen at once,
// otherwise ordered and shown once all are read. Without one, they are read a chunk at a time
// (the foods of the group and words, or a range of food numbers), then ordered and shown.
// finished() tells that all are shown. Then the foods of the group and words are read once more
// to count those left out for lack of a figure (a few foods are read once for both): counted()
// tells that more() and missing() are final.
class FinderStream : public QObject {
    Q_OBJECT
public:
    FinderStream(SQLiteDB &db, const WordIndex &words, const FinderQuery &query,
                 const FinderSchema &schema);
    ~FinderStream() override;

    // Reads the first slice: false when that failed (error()). The rest is read once resume() is
    // called, so that no slice runs before a list shows the rows.
    bool start();
    void resume();
    // Reads everything that remains now.
    void finish();
    // Reads now until every row is shown, or until more rows than the limit are shown: false
    // then. The rest, and the count, follow a slice at a time.
    bool finishRows(int rowLimit = INT_MAX);
    bool isFinished() const { return rowsDone; }
    bool isCounted() const { return countDone; }
    QString error() const { return failure; }

    // The nutrients (USDA numbers) of the value columns: finderColumns.
    const QList<int> &nutrients() const { return columns; }
    // The rows shown so far, in the query's order.
    int count() const;
    qint64 foodId(int row) const;
    // The description as shown, its word tokens expanded.
    QString description(int row);
    // The amount on the query's basis; NaN where the food has no figure (only the order
    // nutrient's column can lack one).
    double value(int row, int column) const;

    // The foods of the group and words (that the basis keeps) that fail no condition but lack a
    // figure for at least one, and the condition nutrients some of them lack, in condition order.
    qint64 more() const { return moreFoods; }
    QList<int> missing() const;

signals:
    // Rows were added at the end: count() was previousCount before.
    void rowsAdded(int previousCount);
    void finished();
    void counted();
    void failed(const QString &message);

private:
    // Scope: the foods of the group and words; Index: the foods listed, from a value index; Rows:
    // the foods listed, a chunk at a time; Sort: the descriptions of foods of equal amounts, a
    // batch at a time; Count: the foods left out, a chunk at a time.
    enum class Phase { Scope, Index, Rows, Sort, Count, Done };
    void readSlice();
    void readCursor(const QElapsedTimer &clock);
    void flushTies();
    FinderRows chunkRows() const;
    bool nextChunk();
    void readChunk();
    void beginChunks(Phase next);
    void rowsRead();
    void sortFound();
    void readSort();
    void showSorted();
    void fail(const QString &message);

    SQLiteDB &db;
    const WordIndex &words;
    FinderQuery query;
    FinderSchema schema;
    QList<int> columns;
    size_t width;         // columns per row
    int conditionColumns; // the first columns, those of the conditions
    size_t orderColumn;
    bool indexOrdered; // the index read is the order nutrient's

    Phase phase = Phase::Rows;
    std::unique_ptr<RowCursor> cursor; // the scope's or the index statement
    std::unique_ptr<RowCursor> bound;  // the next food number of a chunk of all foods
    std::unique_ptr<RowCursor> chunk;
    bool scoped = false;       // reads the foods of finderScopeStatement
    std::vector<qint64> scope; // those foods, ascending
    size_t scopeDone = 0;      // of those, read by the chunks so far
    qint64 scannedTo = 0;      // without a scope: the last food number read
    int chunkFoods = 0; // foods (or food numbers) per chunk, fitted to the time a chunk takes
    bool few = false;   // FOODS_WR holds few foods
    bool both = false;  // the chunks read the foods left out with those listed

    std::vector<qint64> ids;    // shown
    std::vector<double> values; // width per row
    std::vector<qint64> found;  // read, not yet shown
    std::vector<double> foundValues;
    std::vector<size_t> order;                   // of the rows found, by amount
    std::vector<std::pair<size_t, size_t>> runs; // ranges of that order of equal amounts
    std::vector<qint64> tiedIds;                 // the foods of those ranges
    size_t tiedRead = 0;                         // of those, whose description was read
    QHash<qint64, QByteArray> tiedDescriptions;
    // Rows read in order of one amount, held until the next amount: stored description, number.
    QByteArray tiedKey; // their amount as the library writes it
    std::vector<std::pair<QByteArray, qint64>> tied;
    std::vector<double> tiedValues;
    qint64 moreFoods = 0;
    std::vector<bool> lacking; // per condition column: some food left out lacks it
    DescriptionLookup shownDescriptions;
    QTimer nextSlice;
    bool rowsDone = false;
    bool countDone = false;
    bool paused = false;
    QString failure;
};
