// The bookmark lists: food numbers and descriptions kept in pairs in the settings.
#include "settings/bookmarks.h"

#include <QSet>

namespace {

// An add that finds more pairs than this drops the oldest one first.
constexpr int bookmarkCap = 50;

bool isDigits(const QString &text) {
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return !text.isEmpty();
}

// The list separator of the settings file may not occur inside a description.
QString storableDescription(QString desc) {
    return desc.replace(QLatin1Char('|'), QLatin1Char('/'));
}

qsizetype bookmarkIndex(const Settings &settings, const QString &id) {
    const QString key = bookmarkKey(id);
    for (qsizetype i = 0; i < settings.bookmarkIds.size(); ++i)
        if (bookmarkKey(settings.bookmarkIds.at(i)) == key)
            return i;
    return -1;
}

void pairUp(Settings &settings) {
    if (settings.bookmarkIds.size() != settings.bookmarkDescs.size())
        repairBookmarks(settings, {});
}

} // namespace

QString bookmarkKey(const QString &id) {
    if (!isDigits(id))
        return id;
    qsizetype zeros = 0;
    while (zeros + 1 < id.size() && id.at(zeros) == QLatin1Char('0'))
        ++zeros;
    return id.mid(zeros);
}

bool isBookmarked(const Settings &settings, const QString &id) {
    return bookmarkIndex(settings, id) >= 0;
}

bool addBookmarkEntry(Settings &settings, const QString &id, const QString &desc) {
    if (isBookmarked(settings, id))
        return false;
    pairUp(settings);
    if (settings.bookmarkIds.size() > bookmarkCap) {
        settings.bookmarkIds.removeFirst();
        settings.bookmarkDescs.removeFirst();
    }
    settings.bookmarkIds.append(bookmarkKey(id));
    settings.bookmarkDescs.append(storableDescription(desc));
    return true;
}

bool removeBookmarkEntry(Settings &settings, const QString &id) {
    pairUp(settings);
    const qsizetype i = bookmarkIndex(settings, id);
    if (i < 0)
        return false;
    settings.bookmarkIds.removeAt(i);
    settings.bookmarkDescs.removeAt(i);
    return true;
}

void clearBookmarkEntries(Settings &settings) {
    settings.bookmarkIds.clear();
    settings.bookmarkDescs.clear();
}

QString clearBookmarksQuestion() {
    return QStringLiteral("Delete all bookmarks ?");
}

void repairBookmarks(Settings &settings, const FoodDescriber &describe) {
    const bool paired = settings.bookmarkIds.size() == settings.bookmarkDescs.size();
    QStringList ids;
    QStringList descs;
    QSet<QString> seen;
    for (qsizetype i = 0; i < settings.bookmarkIds.size(); ++i) {
        const QString id = bookmarkKey(settings.bookmarkIds.at(i));
        if (seen.contains(id))
            continue;
        seen.insert(id);
        QString desc = paired ? settings.bookmarkDescs.at(i) : QString();
        // A description that is only the number was stored by a run that could not look it up.
        if ((!paired || desc == id) && describe)
            desc = describe(id);
        ids.append(id);
        descs.append(desc.isEmpty() ? id : storableDescription(desc));
    }
    settings.bookmarkIds = ids;
    settings.bookmarkDescs = descs;
}

QList<BookmarkEntry> bookmarkEntries(const Settings &settings) {
    QList<BookmarkEntry> entries;
    const QStringList &ids = settings.bookmarkIds;
    const bool paired = ids.size() == settings.bookmarkDescs.size();
    entries.reserve(ids.size());
    for (qsizetype i = 0; i < ids.size(); ++i)
        entries.append({ids.at(i), paired ? settings.bookmarkDescs.at(i) : ids.at(i)});
    return entries;
}
