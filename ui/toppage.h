// The Top Foods page: the fifteen foods ranked highest (or lowest) by one nutrient.
#pragma once

#include "ui/pagecontext.h"

#include <QFrame>

class FoodList;
class QComboBox;

class TopPage : public QFrame {
    Q_OBJECT
public:
    TopPage(const PageContext &context, QWidget *parent);

    // Offers the ranking criteria.
    void setCriteria();
    QString currentCriterion() const;
    bool isEmpty() const;
    // Lists the cached ranking of the current criterion; nothing when there is none to choose.
    void showRanking();

signals:
    void criterionActivated(const QString &label);
    void foodChosen(const QString &foodId);

private:
    PageContext context;
    QComboBox *topCombo = nullptr;
    FoodList *topList = nullptr;
};
