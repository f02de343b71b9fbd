// Word tokens for FOODS.db on space-constrained devices: frequent words stored as short tokens.
#include "tools/wordtokenizer.h"

#include <algorithm>
#include <vector>

namespace {

bool tokenisable(const QString &word) {
    return !word.contains(QLatin1Char('%')) && !word.contains(QLatin1Char('_')) &&
           !word.contains(QLatin1Char('@'));
}

// As LIKE compares: ASCII letters folded, every other character as it is.
QString asciiFolded(const QString &text) {
    QString folded = text;
    for (QChar &c : folded) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
    }
    return folded;
}

template <typename Visit> void forEachWord(const QString &text, Visit visit) {
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        if (!WordTokenizer::isWordCharacter(text[i])) {
            ++i;
            continue;
        }
        const qsizetype start = i;
        while (i < n && WordTokenizer::isWordCharacter(text[i]))
            ++i;
        visit(start, i - start);
    }
}

// Tokens shortest first: "@0@".."@z@", then "@00@".."@zz@", and so on.
QString tokenName(int index) {
    static const char digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    int length = 1;
    int block = 36;
    while (index >= block) {
        index -= block;
        ++length;
        block *= 36;
    }
    QString id(length, QLatin1Char('0'));
    for (int p = length - 1; p >= 0; --p) {
        id[p] = QLatin1Char(digits[index % 36]);
        index /= 36;
    }
    return QLatin1Char('@') + id + QLatin1Char('@');
}

// Bytes saved by a token: the description is stored twice (table and browse index), the
// dictionary row and its key cost the word and the token twice and a little more.
qint64 saving(qint64 occurrences, qsizetype wordLength, qsizetype tokenLength) {
    return 2 * occurrences * (wordLength - tokenLength) - (2 * (wordLength + tokenLength) + 12);
}

} // namespace

WordTokenizer::WordTokenizer(const QStringList &descriptions) {
    QHash<QString, int> spellingCounts;  // exact spelling -> whole-word occurrences
    QHash<QString, QString> spellingOf;  // folded word -> its one spelling
    QHash<QString, bool> manySpellings;  // folded words written in more than one way
    QHash<QString, qint64> foldedCounts; // folded word -> whole-word occurrences
    for (const QString &description : descriptions) {
        forEachWord(description, [&](qsizetype start, qsizetype length) {
            const QString word = description.mid(start, length);
            const QString folded = asciiFolded(word);
            ++spellingCounts[word];
            ++foldedCounts[folded];
            const auto known = spellingOf.constFind(folded);
            if (known == spellingOf.constEnd())
                spellingOf.insert(folded, word);
            else if (*known != word)
                manySpellings.insert(folded, true);
        });
    }

    // A search word matches inside longer words too; since a word holds no separator, a match
    // never spans two words (the blank joining them below is a separator). So a word w
    // occur in the texts as often as they occur in each distinct (folded) word, times that word's
    // count.
    QString distinct;
    std::vector<qsizetype> starts;
    std::vector<qint64> counts;
    for (auto it = foldedCounts.cbegin(); it != foldedCounts.cend(); ++it) {
        starts.push_back(distinct.size());
        counts.push_back(it.value());
        distinct += it.key();
        distinct += QLatin1Char(' ');
    }
    auto occurrencesAnywhere = [&](const QString &folded) {
        qint64 total = 0;
        for (qsizetype at = distinct.indexOf(folded); at >= 0;
             at = distinct.indexOf(folded, at + 1)) {
            const auto word = std::upper_bound(starts.begin(), starts.end(), at) - 1;
            total += counts[size_t(word - starts.begin())];
        }
        return total;
    };

    struct Candidate {
        QString word;
        qint64 count;
    };
    std::vector<Candidate> candidates;
    for (auto it = spellingOf.cbegin(); it != spellingOf.cend(); ++it) {
        if (manySpellings.contains(it.key()) || !tokenisable(it.value()))
            continue;
        const qint64 count = spellingCounts.value(it.value());
        if (saving(count, it.value().size(), 3) <= 0)
            continue;
        if (occurrencesAnywhere(it.key()) != count)
            continue; // also part of a longer word: a token would hide those foods
        candidates.push_back({it.value(), count});
    }
    // The most frequent words get the shortest tokens.
    std::sort(candidates.begin(), candidates.end(), [](const Candidate &a, const Candidate &b) {
        return a.count != b.count ? a.count > b.count : a.word < b.word;
    });
    for (const Candidate &candidate : candidates) {
        const QString token = tokenName(int(entries.size()));
        if (saving(candidate.count, candidate.word.size(), token.size()) <= 0)
            continue;
        tokenOf.insert(candidate.word, token);
        entries.append({token, candidate.word});
    }
}

bool WordTokenizer::isWordCharacter(QChar c) {
    switch (c.unicode()) {
    case ',':
    case '|':
    case ' ':
    case '(':
    case ')':
    case '+':
        return false;
    default:
        return true;
    }
}

QString WordTokenizer::tokenize(const QString &description) const {
    if (tokenOf.isEmpty())
        return description;
    QString out;
    out.reserve(description.size());
    qsizetype copied = 0;
    forEachWord(description, [&](qsizetype start, qsizetype length) {
        const auto token = tokenOf.constFind(description.mid(start, length));
        if (token == tokenOf.constEnd())
            return;
        out += QStringView(description).sliced(copied, start - copied);
        out += *token;
        copied = start + length;
    });
    out += QStringView(description).sliced(copied);
    return out;
}
