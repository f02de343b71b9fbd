// Best Match: the order in which found foods fit the words of a search.
#include "finding/bestmatch.h"

#include <algorithm>

namespace {

bool isWordCharacter(QChar c) {
    return c.isLetterOrNumber();
}

// The word without a plural ending, or empty when it has none: "apples" -> "apple", "peaches" ->
// "peach" (and "peache", which no description holds as a word).
QStringList singulars(QStringView word) {
    QStringList forms;
    if (word.size() > 2 && word.endsWith(QLatin1Char('s'), Qt::CaseInsensitive))
        forms << word.chopped(1).toString();
    if (word.size() > 3 && word.endsWith(QLatin1String("es"), Qt::CaseInsensitive))
        forms << word.chopped(2).toString();
    return forms;
}

// The word or a plural of it ("s", "es") stands at position at and ends a word.
bool endsWord(QStringView text, qsizetype at) {
    return at >= text.size() || !isWordCharacter(text.at(at));
}

bool holdsAsWord(QStringView text, QStringView word) {
    for (qsizetype at = text.indexOf(word, 0, Qt::CaseInsensitive); at >= 0;
         at = text.indexOf(word, at + 1, Qt::CaseInsensitive)) {
        if (at > 0 && isWordCharacter(text.at(at - 1)))
            continue;
        const qsizetype end = at + word.size();
        if (endsWord(text, end))
            return true;
        const QStringView after = text.sliced(end);
        if (after.startsWith(QLatin1Char('s'), Qt::CaseInsensitive) && endsWord(text, end + 1))
            return true;
        if (after.startsWith(QLatin1String("es"), Qt::CaseInsensitive) && endsWord(text, end + 2))
            return true;
    }
    return false;
}

// The part is the word, or the word with a plural ending.
bool isWordOrPlural(QStringView part, QStringView word) {
    if (!part.startsWith(word, Qt::CaseInsensitive))
        return false;
    const QStringView ending = part.sliced(word.size());
    return ending.isEmpty() || ending.compare(QLatin1String("s"), Qt::CaseInsensitive) == 0 ||
           ending.compare(QLatin1String("es"), Qt::CaseInsensitive) == 0;
}

} // namespace

BestMatch::BestMatch(const QStringList &searchWords) {
    // Each distinct word with its singular forms: "apple apples" is one word.
    for (const QString &word : searchWords) {
        QStringList forms{word};
        forms << singulars(word);
        bool known = false;
        for (const Word &other : std::as_const(words))
            for (const QString &form : forms)
                known =
                    known || isWordOrPlural(other.word, form) || isWordOrPlural(form, other.word);
        if (!known)
            words.append({word, singulars(word)});
    }
}

quint32 BestMatch::rank(QStringView description) const {
    quint32 held = 0;
    bool firstIsWord = false;
    const qsizetype comma = description.indexOf(QLatin1Char(','));
    const QStringView first = (comma < 0 ? description : description.first(comma)).trimmed();
    for (const Word &word : words) {
        bool found = holdsAsWord(description, word.word);
        bool leads = isWordOrPlural(first, word.word);
        for (const QString &singular : word.singulars) {
            found = found || holdsAsWord(description, singular);
            leads = leads || isWordOrPlural(first, singular);
        }
        held += found ? 1 : 0;
        firstIsWord = firstIsWord || leads;
    }
    const quint32 parts =
        quint32(qMin<qsizetype>(description.count(QLatin1Char(',')) + 1, 0x7fffff));
    return ((255 - qMin<quint32>(held, 255)) << 24) | (firstIsWord ? 0u : 1u << 23) | parts;
}

std::vector<int> bestMatchOrder(const QStringList &descriptions, const QStringList &words) {
    const BestMatch match(words);
    std::vector<quint32> ranks;
    ranks.reserve(size_t(descriptions.size()));
    for (const QString &description : descriptions)
        ranks.push_back(match.isEmpty() ? 0 : match.rank(description));
    std::vector<int> order(size_t(descriptions.size()));
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = int(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        if (ranks[size_t(a)] != ranks[size_t(b)])
            return ranks[size_t(a)] < ranks[size_t(b)];
        return descriptions.at(a) < descriptions.at(b);
    });
    return order;
}
