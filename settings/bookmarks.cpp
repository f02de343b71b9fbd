// The bookmark lists: food numbers and descriptions kept in pairs in the settings.
#include "settings/bookmarks.h"

namespace {
// An add that finds more pairs than this drops the oldest one first.
constexpr int bookmarkCap = 50;
} // namespace

bool isBookmarked(const Settings &settings, const QString &id) {
    return settings.bookmarkIds.contains(id);
}

bool addBookmarkEntry(Settings &settings, const QString &id, const QString &desc) {
    if (settings.bookmarkIds.contains(id))
        return false;
    if (settings.bookmarkIds.size() > bookmarkCap) {
        settings.bookmarkIds.removeFirst();
        if (!settings.bookmarkDescs.isEmpty())
            settings.bookmarkDescs.removeFirst();
    }
    settings.bookmarkIds.append(id);
    settings.bookmarkDescs.append(desc);
    return true;
}

bool removeBookmarkEntry(Settings &settings, const QString &id) {
    const qsizetype i = settings.bookmarkIds.indexOf(id);
    if (i < 0)
        return false;
    if (i < settings.bookmarkDescs.size())
        settings.bookmarkDescs.removeAt(i);
    settings.bookmarkIds.removeAll(id);
    return true;
}

void clearBookmarkEntries(Settings &settings) {
    settings.bookmarkIds.clear();
    settings.bookmarkDescs.clear();
}

QList<BookmarkEntry> bookmarkEntries(const Settings &settings) {
    QList<BookmarkEntry> entries;
    const QStringList &ids = settings.bookmarkIds;
    const QStringList &descs = settings.bookmarkDescs;
    entries.reserve(ids.size());
    for (qsizetype i = 0; i < ids.size(); ++i)
        entries.append({ids.at(i), i < descs.size() ? descs.at(i) : ids.at(i)});
    return entries;
}
