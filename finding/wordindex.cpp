// The word dictionary that turns stored descriptions into readable text.
#include "finding/wordindex.h"

QString expandDescription(const QString &stored, const WordIndex &index)
{
    const QChar delimiter('@');
    if (!stored.contains(delimiter))
        return stored;
    QString result;
    result.reserve(stored.size());
    const qsizetype n = stored.size();
    qsizetype pos = 0;
    while (pos < n) {
        const QChar c = stored.at(pos);
        if (c != delimiter) {
            result += c;
            ++pos;
            continue;
        }
        // A token runs from this delimiter to the next one, both included; an unclosed token at
        // the end of the text runs to the end.
        const qsizetype close = stored.indexOf(delimiter, pos + 1);
        const qsizetype next = close < 0 ? n : close + 1;
        const auto found = index.constFind(stored.mid(pos, next - pos));
        if (found != index.constEnd())
            result += *found;
        pos = next;
    }
    return result;
}
