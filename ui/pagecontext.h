// What the finding pages share with the main window: the database, the status windows, the words.
#pragma once

#include "finding/wordindex.h"

class SQLiteDB;
class StatusWindows;

// References to members of the main window, which outlives its pages.
struct PageContext {
    SQLiteDB &db;
    StatusWindows &status;
    const WordIndex &words;
};
