// The user's persisted choices: default view, custom weight, bookmarks and search history.
#pragma once

#include <QStringList>

struct Settings {
    bool basicView = true;       // the details dialog opens in its basic view
    double customWeight = 100.0; // grams, offered as the "Custom" serving
    QStringList bookmarkIds;     // food numbers, oldest first
    QStringList bookmarkDescs;   // their descriptions, entry i belongs to bookmarkIds[i]
    QStringList searchHistory;   // the search combo's texts, newest first
};

// The one process-wide record.
extern Settings settings;

// Replaces all fields from the configuration file KALO (group KALO); missing keys give defaults.
void loadSettings();
// Writes all fields to the configuration file KALO.
void saveSettings();
