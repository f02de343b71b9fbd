// The Find by Nutrients dialog: the foods that meet several conditions on their nutrients at once.
#pragma once

#include "details/fullnutrients.h"
#include "finding/finderquery.h"
#include "settings/findersettings.h"
#include "ui/pagecontext.h"

#include <QDialog>
#include <QTimer>

class FoodList;
class QComboBox;
class QLabel;
class QLineEdit;
class QScrollArea;
class QStandardItemModel;
class QToolButton;
class QVBoxLayout;

// Not modal: foods open from its list while it stays open. Every change lists the foods anew, the
// typing of an amount or of words 150 ms after the last key; there is no button to search with.
// Until a row has an amount, nothing is listed.
// The conditions scroll above the list, which a handheld screen would not show otherwise.
class FinderDialog : public QDialog {
    Q_OBJECT
public:
    // Shows the choices as far as the open file can (finderSettingsFor) and lists their foods.
    FinderDialog(const PageContext &context, const FinderSettings &choices, QWidget *parent);
    ~FinderDialog() override;

    FinderSettings choices() const;

signals:
    // A plain click on a food of the list, or Return on the current one.
    void foodChosen(const QString &foodId);
    // After every change, once its foods are being listed.
    void choicesChanged();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    struct ConditionRow {
        QWidget *box;
        QComboBox *nutrient;
        QComboBox *bound;
        QLineEdit *amount;
        QLabel *unit;
        QToolButton *remove;
    };
    void fillNutrientChoices();
    QComboBox *newNutrientCombo(int nutrient, QWidget *parent);
    void addCondition(const FinderSettings::Condition &condition);
    void removeCondition(QWidget *box);
    void nameConditions();
    void fitConditions();
    QString columnTitle(int nutrient) const;
    void find();

    PageContext context;
    QList<FullNutrient> nutrients; // the choices, in the Full view's order
    QStandardItemModel *nutrientChoices = nullptr;
    FinderSchema schema;
    QList<ConditionRow> conditions;
    QScrollArea *scrollArea = nullptr;
    QWidget *choicesBox = nullptr; // inside the scroll area
    QVBoxLayout *conditionsLayout = nullptr;
    QToolButton *addButton = nullptr;
    QComboBox *basisCombo = nullptr;
    QComboBox *groupCombo = nullptr;
    QLineEdit *wordsEdit = nullptr;
    QComboBox *orderCombo = nullptr;
    QComboBox *directionCombo = nullptr;
    QLabel *countLabel = nullptr;
    FoodList *results = nullptr;
    QTimer typing;
};
