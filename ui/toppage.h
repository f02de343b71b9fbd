// The Top Foods page: the fifteen foods ranked highest (or lowest) by one nutrient.
#pragma once

#include "ui/pagecontext.h"

#include <QFrame>

class FoodList;
class QComboBox;
class QLabel;
struct FoodGroup;

class TopPage : public QFrame {
    Q_OBJECT
public:
    TopPage(const PageContext &context, QWidget *parent);

    // Offers the ranking criteria, and the groups to rank within after "All Categories".
    void setCriteria(const QList<FoodGroup> &groups);
    QString currentCriterion() const;
    bool isEmpty() const;
    // Lists the ranking of the current criterion within the chosen group and per the chosen
    // basis: the cached ranking for all groups per 100 g, else one made now; and how many foods
    // have a figure. Nothing when there is no criterion to choose.
    void showRanking();

signals:
    void criterionActivated(const QString &label);
    void foodChosen(const QString &foodId);
    // The button below the list: Find by Nutrients.
    void finderRequested();

private:
    PageContext context;
    QComboBox *topCombo = nullptr;
    QComboBox *topGroupCombo = nullptr;
    QComboBox *topBasisCombo = nullptr;
    FoodList *topList = nullptr;
    QLabel *coverageLabel = nullptr;
};
