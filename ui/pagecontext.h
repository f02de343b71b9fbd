// What the finding pages share with the main window: the food database, the status windows, the
// user's settings.
#pragma once

class FoodsDatabase;
class StatusWindows;
struct Settings;

// References to members of the main window, which outlives its pages.
struct PageContext {
    FoodsDatabase &foods;
    StatusWindows &status;
    const Settings &settings; // the search order and the all-words choice
};
