// The Bookmarks page: the bookmarked foods, and deleting them all.
#pragma once

#include <QFrame>

struct Settings;
class FoodList;
class QToolButton;

class BookmarksPage : public QFrame {
    Q_OBJECT
public:
    BookmarksPage(Settings &settings, QWidget *parent);

    // Rebuilds the list from the settings; the delete button is enabled when it holds a row.
    void fill();
    // Asks "Delete all bookmarks ?" and, on Yes, empties both bookmark lists and the page.
    void clearAll();

signals:
    void clearRequested();
    void foodChosen(const QString &foodId);

private:
    Settings &settings;
    QToolButton *clearBookmarksButton = nullptr;
    FoodList *bookmarkList = nullptr;
};
