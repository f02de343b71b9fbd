// The Browse page: the foods of one food group.
#pragma once

#include "ui/pagecontext.h"

#include <QFrame>

class FoodList;
class QComboBox;
struct FoodGroup;

class BrowsePage : public QFrame {
    Q_OBJECT
public:
    BrowsePage(const PageContext &context, QWidget *parent);

    void setGroups(const QList<FoodGroup> &groups);
    QString currentGroup() const;
    // Lists the foods of the named group; a name without a group lists nothing. A failing
    // statement shows its error and keeps the list.
    void listGroup(const QString &name);

signals:
    void groupActivated(const QString &name);
    void foodChosen(const QString &foodId);

private:
    PageContext context;
    QComboBox *categoryCombo = nullptr;
    FoodList *browseList = nullptr;
};
