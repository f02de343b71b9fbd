// The word search: from a search text to the statement that lists the matching foods, and the
// rule that keeps the search history.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class FoodsDatabase;

// The food-group entry of the search page that restricts nothing.
QString allCategoriesName();

// Receives the library's message of each statement that failed, at once, while the search goes on.
using ErrorHandler = std::function<void(const QString &message)>;

struct SearchOptions {
    // A food must hold every word, not just one of them.
    bool allWords = false;
    // The order of the rows: by description, descending (the search statement's own order), or
    // ascending, the order a list shows first.
    Qt::SortOrder nameOrder = Qt::DescendingOrder;
    // Where the database has the trigram index FOODS_FTS, the search reads it when it narrows
    // the search to at most this many foods; a word found in more foods is found sooner by
    // reading the descriptions in order, which also gives a list its first screen at once.
    int indexLimit = 10000;
};

// The statement that lists the foods whose stored description holds any word of the text (every
// word, with allWords), within the named group unless it is "All Categories". Runs the group
// look-up and one dictionary look-up per distinct word on the database: a word found in the
// dictionary is searched as its token, any other as itself. Where the database has barcodes, a
// word of 8 to 14 digits also finds the food with that barcode. A failed group look-up searches
// all groups; a word whose look-up fails is left out. Null when nothing is to be listed: no open
// database, an empty text or group name, or words that all failed their look-up.
QString foodSearchStatement(FoodsDatabase &foods, const QString &text, const QString &category,
                            const SearchOptions &options, const ErrorHandler &onError);

// The history after searching the text: an entry equal to it but for letter case is removed, the
// oldest one dropped when more than 16 remain, and the text put first as typed.
QStringList recordSearch(QStringList history, const QString &text);
