// The Bookmarks page: the bookmarked foods, removing some or all of them, choosing two to compare.
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
    // Asks the question of clearBookmarksQuestion() and, on Yes, empties both bookmark lists and
    // the page.
    void clearAll();
    // Removes the selected bookmarks where several are selected, otherwise the current one.
    void removeSelected();

signals:
    void clearRequested();
    void foodChosen(const QString &foodId);
    // The bookmark lists changed here (a removal or a clear).
    void bookmarksChanged();
    // The compare button with exactly two bookmarks selected, in list order.
    void compareRequested(const QString &firstId, const QString &secondId);

private:
    void updateCompareButton();

    Settings &settings;
    QToolButton *clearBookmarksButton = nullptr;
    QToolButton *compareButton = nullptr;
    FoodList *bookmarkList = nullptr;
};
