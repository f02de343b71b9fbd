// The word dictionary that turns stored descriptions into readable text.
#include "db/wordindex.h"

QString expandDescription(const QString &stored, const WordIndex &index) {
    const QChar delimiter('@');
    qsizetype open = stored.indexOf(delimiter);
    if (open < 0)
        return stored;
    QString result;
    result.reserve(stored.size() + 32);
    qsizetype pos = 0;
    const qsizetype n = stored.size();
    while (open >= 0) {
        result += QStringView(stored).sliced(pos, open - pos);
        // A token runs from this delimiter to the next one, both included. A stored text closes
        // every token; should the last one be left open, it runs to the end of the text and,
        // having no entry, is dropped.
        const qsizetype close = stored.indexOf(delimiter, open + 1);
        pos = close < 0 ? n : close + 1;
        const auto found = index.constFind(stored.mid(open, pos - open));
        if (found != index.constEnd())
            result += *found;
        open = pos < n ? stored.indexOf(delimiter, pos) : -1;
    }
    result += QStringView(stored).sliced(pos);
    return result;
}
