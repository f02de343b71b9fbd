// The bookmark lists: food numbers and descriptions kept in pairs in the settings.
#pragma once

#include "settings/settings.h"

#include <QList>
#include <QString>

// True when the food number is bookmarked (exact, case-sensitive comparison).
bool isBookmarked(const Settings &settings, const QString &id);

// Appends the pair at the end; false, and nothing changes, when the number is already bookmarked.
// Lists of more than 50 pairs first lose their oldest pair, so adds alone never exceed 51.
bool addBookmarkEntry(Settings &settings, const QString &id, const QString &desc);

// Removes the number's pair; false when the number is not bookmarked.
bool removeBookmarkEntry(Settings &settings, const QString &id);

// Empties both lists.
void clearBookmarkEntries(Settings &settings);

// A bookmark as the Bookmarks page lists it.
struct BookmarkEntry {
    QString id;
    QString text;
};

// The bookmarks in list order, paired by position. When the two lists differ in length (a '|' in
// a stored description splits it, an empty one is dropped on reading) the numbers without a
// description of their own are shown by their number.
QList<BookmarkEntry> bookmarkEntries(const Settings &settings);
