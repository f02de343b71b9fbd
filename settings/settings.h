// The user's persisted choices: views, weight, bookmarks, search history, Find by Nutrients.
#pragma once

#include "settings/findersettings.h"

#include <QString>
#include <QStringList>

// A plain value: the main window owns the one of the running program and hands it to what needs
// it; tests make their own.
struct Settings {
    bool basicView = true;       // the details dialog opens in its basic view
    bool fullView = false;       // ... or in its full view (then basicView is false)
    bool showDailyValue = false; // the report shows the percentage of the Daily Value
    bool showRanges = false;     // the full view shows each figure's range and the footnotes
    bool bestMatch = false;      // search results in rank order instead of by name
    bool matchAllWords = false;  // a search lists the foods that hold every word
    double customWeight = 100.0; // grams, offered as the "Custom" serving
    QStringList bookmarkIds;     // food numbers, oldest first
    QStringList bookmarkDescs;   // their descriptions, entry i belongs to bookmarkIds[i]
    QStringList searchHistory;   // the search combo's texts, newest first
    FinderSettings finder;       // the Find by Nutrients dialog
};

// Field by field; a field added to Settings belongs here too, or its changes wait for the exit to
// be written.
bool operator==(const Settings &a, const Settings &b);
inline bool operator!=(const Settings &a, const Settings &b) {
    return !(a == b);
}

// The options as the Options page shows them and reads them back, also while it is not built: the
// custom weight as its field writes it, and one view size (Full over Basic).
void normaliseOptions(Settings &settings);

// The settings in the configuration file KALO (group KALO); missing keys give the defaults.
Settings loadSettings();
// Writes all fields to the configuration file KALO; false when the file could not be written. The
// list separator '|' cannot be stored inside an item: in a bookmark description it is written as
// '/', in a search history entry as a blank (which separates search words just as '|' does).
bool saveSettings(const Settings &settings);
