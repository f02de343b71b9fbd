// The foods of one list statement, read a slice at a time, and their descriptions as shown.
#pragma once

#include "finding/descriptionlookup.h"

#include "db/wordindex.h"
#include "finding/bestmatch.h"

#include <QCache>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <climits>
#include <memory>
#include <vector>

class RowCursor;
class SQLiteDB;

// Reads the rows (food number, stored description) of one statement in slices of a few
// milliseconds, with events in between, so that a list of hundreds of thousands of foods shows
// its first screen at once and the window keeps answering while the rest arrives.
//
// Where the stored descriptions hold no dictionary tokens, the library's order by description is
// the order the list shows: the stream keeps only food numbers and looks descriptions up as rows
// are shown. Otherwise it keeps the expanded descriptions and sorts them once all rows are read.
// With Best Match words the rows are ranked once all are read.
class FoodStream : public QObject {
    Q_OBJECT
public:
    // What the shown rows follow.
    enum class Order { NameAscending, NameDescending, BestMatch };

    // sql lists food number and stored description in the fetch order (by description, ascending
    // or descending). With rank words not empty, the rows are shown in Best Match order.
    FoodStream(SQLiteDB &db, const WordIndex &words, const QString &sql, Qt::SortOrder fetchOrder,
               const QStringList &rankWords = {});
    ~FoodStream() override;

    // Prepares the statement and reads the first slice: false when that failed (error()). The
    // rest is read once resume() is called, so that no slice runs before a list shows the rows.
    bool start();
    // Reads the remaining rows a slice at a time, with events in between.
    void resume();
    // Reads all remaining rows now, or until more rows than the limit are read: false then, and
    // the rest follows a slice at a time.
    bool finish(int rowLimit = INT_MAX);
    bool isFinished() const { return done; }
    QString error() const { return failure; }

    // The rows shown so far, in the shown order.
    int count() const;
    qint64 foodId(int row) const;
    QString description(int row);

    // For rows read one after another from the first, in the shown order (a whole list written
    // out): where the statement's order is the shown one, the descriptions come from a second pass
    // over the statement instead of a look-up each, which locks the file anew. Off ends the pass
    // and the read of the file it holds.
    void setReadingInTurn(bool on);

    Order order() const { return shownOrder; }
    // Shows the rows in another order; Best Match only where the rows were ranked.
    void setOrder(Order order);
    bool isRanked() const { return ranked; }
    // New rows are added at the top of the shown order, not at the end.
    bool addsAtTop() const;

signals:
    // Rows were added to the shown order: count() was previousCount before.
    void rowsAdded(int previousCount);
    void finished();
    void failed(const QString &message);

private:
    void readSlice();
    int fetchIndex(int row) const;
    void complete();
    QString passDescription(int index, qint64 id);

    SQLiteDB &db;
    const WordIndex &words;
    QString sql;
    Qt::SortOrder fetchOrder;
    bool ranked;
    BestMatch match;
    bool storedOrderIsShown; // no tokens: the statement's order is the shown name order
    Order shownOrder;

    std::unique_ptr<RowCursor> cursor;
    std::vector<qint64> ids;    // in fetch order
    QStringList descriptions;   // expanded, in fetch order, where they are kept
    std::vector<quint32> ranks; // in fetch order, while reading ranked rows
    std::vector<int> rankOrder; // fetch indexes in Best Match order
    std::vector<int> nameOrder; // fetch indexes in ascending name order, where sorted
    DescriptionLookup shownDescriptions;
    bool readingInTurn = false;
    std::unique_ptr<RowCursor> pass; // the second pass, while rows are read in turn
    int passed = -1;                 // the fetch index of its row; below -1 once it failed
    QTimer nextSlice;
    bool done = false;
    bool paused = false;
    QString failure;
};
