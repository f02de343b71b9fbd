// The Search page: foods found by words of their description, with a history of searched texts.
#pragma once

#include "ui/pagecontext.h"

#include <QFrame>
#include <QStringList>

class FoodList;
class QComboBox;
class QPushButton;
struct FoodGroup;

class SearchPage : public QFrame {
    Q_OBJECT
public:
    SearchPage(const PageContext &context, const QStringList &history, QWidget *parent);

    // The group names, after "All Categories".
    void setGroups(const QList<FoodGroup> &groups);
    QString currentGroup() const;
    // The history entries, newest first.
    QStringList history() const;
    // Records the typed text in the history and returns it.
    QString recordTypedText();
    // Lists the foods that hold any word of the text (every word, with Match All Words), within
    // the group unless it is "All Categories", by name or in Best Match order as the settings
    // say. Nothing happens without an open database, a text or a group name.
    void search(const QString &text, const QString &group);

signals:
    // The search button, or Return in the search text.
    void searchRequested();
    void foodChosen(const QString &foodId);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setSearchWidgetsEnabled(bool enabled);

    PageContext context;
    QPushButton *searchButton = nullptr;
    QComboBox *searchCategoryCombo = nullptr;
    QComboBox *searchCombo = nullptr;
    FoodList *searchList = nullptr;
    bool typingInSearch = false; // the search text had the keyboard when the search began
};
