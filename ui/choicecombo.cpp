// A combo box that offers a choice among long names.
#include "ui/choicecombo.h"

#include <QComboBox>

QComboBox *newChoiceCombo(const QString &objectName, QWidget *parent, int maximumWidth) {
    auto *combo = new QComboBox(parent);
    combo->setObjectName(objectName);
    combo->setEditable(false);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(8);
    combo->setMaximumWidth(maximumWidth);
    return combo;
}
