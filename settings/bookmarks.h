// The bookmark lists: food numbers and descriptions kept in pairs in the settings.
#pragma once

#include "settings/settings.h"

#include <QList>
#include <QString>

#include <functional>

// The form in which food numbers are compared and stored: a number of digits only loses its
// leading zeros ("01009" is the bookmark of food 1009), any other text stays as it is.
QString bookmarkKey(const QString &id);

// True when the food number is bookmarked.
bool isBookmarked(const Settings &settings, const QString &id);

// Appends the pair at the end; false, and nothing changes, when the number is already bookmarked.
// Lists of more than 50 pairs first lose their oldest pair, so adds alone never exceed 51.
bool addBookmarkEntry(Settings &settings, const QString &id, const QString &desc);

// Removes the number's pair; false when the number is not bookmarked.
bool removeBookmarkEntry(Settings &settings, const QString &id);

// Empties both lists.
void clearBookmarkEntries(Settings &settings);
// The question the user answers before both lists are emptied.
QString clearBookmarksQuestion();

// The readable description of a food number; null when the food is not known.
using FoodDescriber = std::function<QString(const QString &id)>;

// Makes the lists read from the settings file sound: numbers in their compared form, one pair per
// number (the first wins), no '|' in a description (it would split the description when the file
// is read back). Lists of unequal length cannot be paired by position (a '|' in a stored
// description split it, an empty one was dropped), so then every description is taken from
// describe, and a food it does not know is shown by its number (and looked up again next time). The
// bookmark operations above call it without a describer when they find unequal lists.
void repairBookmarks(Settings &settings, const FoodDescriber &describe);

// A bookmark as the Bookmarks page lists it.
struct BookmarkEntry {
    QString id;
    QString text;
};

// The bookmarks in list order. Lists of unequal length show every food by its number.
QList<BookmarkEntry> bookmarkEntries(const Settings &settings);
