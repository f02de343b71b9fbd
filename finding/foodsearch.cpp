// The word search: from a search text to the statement that lists the matching foods, and the
// rule that keeps the search history.
#include "finding/foodsearch.h"

#include "db/foodsdatabase.h"
#include "finding/statements.h"

#include <QSet>

QString allCategoriesName() {
    return QStringLiteral("All Categories");
}

QString foodSearchStatement(FoodsDatabase &foods, const QString &text, const QString &category,
                            const SearchOptions &options, const ErrorHandler &onError) {
    if (!foods.isOpen() || category.isEmpty() || text.isEmpty())
        return QString();
    SQLiteDB &db = foods.connection();
    const auto report = [&] {
        const QString message = db.lastError();
        if (onError)
            onError(message);
    };

    bool restricted = false;
    QString groupCode;
    if (category != allCategoriesName()) {
        const ResultRows group = db.exec(groupCodeStatement(category));
        if (db.hasError()) {
            report(); // then the search runs over all groups
        } else {
            groupCode = group.value(0, 0);
            restricted = true;
        }
    }

    // A word or term given again adds nothing to the result: each is looked up and searched once,
    // so a text that repeats a word neither repeats its look-ups nor outgrows the library's limit
    // on the size of a condition.
    const QStringList words = searchWords(text);
    const bool barcodes = foods.hasBarcodes();
    QList<SearchTerm> terms;
    QSet<QString> seenWords;
    QSet<QString> seenTerms;
    for (const QString &word : words) {
        if (seenWords.contains(word))
            continue;
        seenWords.insert(word);
        const ResultRows token = db.exec(wordLookupStatement(word));
        if (db.hasError()) {
            report(); // the word is left out
            continue;
        }
        const QString term = token.isEmpty() ? word : token.value(0, 0);
        // Terms that differ only by NUL characters are the same term in the statement.
        const QString placed = QString(term).remove(QChar(0));
        if (!seenTerms.contains(placed)) {
            seenTerms.insert(placed);
            terms.append({term, barcodes ? barcodeOfWord(word) : QString()});
        }
    }
    // Words that all failed their look-up leave no condition, which would list every food.
    if (terms.isEmpty() && !words.isEmpty())
        return QString();

    // The trigram index answers the LIKE conditions when it narrows the search enough; the
    // conditions stay, so the result is exactly that of the plain scan.
    QString narrowing;
    const QString query = trigramQuery(terms, options.allWords);
    ResultRows found; // an index that cannot be read leaves the plain scan
    if (!query.isNull() && foods.hasTrigramIndex() &&
        db.tryRun(trigramCountStatement(query, options.indexLimit), &found) &&
        found.value(0, 0).toLongLong() <= options.indexLimit)
        narrowing = trigramNarrowing(query, terms);
    return searchStatement(
        searchCondition(restricted, groupCode, terms, options.allWords, narrowing),
        options.nameOrder);
}

QStringList recordSearch(QStringList history, const QString &text) {
    const QString upper = text.toUpper();
    for (qsizetype i = 0; i < history.size(); ++i) {
        if (history.at(i).toUpper() == upper) {
            history.removeAt(i);
            break;
        }
    }
    if (history.size() > 16)
        history.removeLast();
    history.prepend(text);
    return history;
}
