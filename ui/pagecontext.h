// What the finding pages share with the main window: the database, the status windows, the words,
// the user's settings.
#pragma once

#include "finding/wordindex.h"

class SQLiteDB;
class StatusWindows;
struct Settings;

// References to members of the main window, which outlives its pages.
struct PageContext {
    SQLiteDB &db;
    StatusWindows &status;
    const WordIndex &words;
    const Settings &settings; // the search order and the all-words choice
};
