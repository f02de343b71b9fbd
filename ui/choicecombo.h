// A combo box that offers a choice among long names.
#pragma once

#include <QString>
#include <QWidget>

class QComboBox;

// Not editable, sized by the layout rather than by its longest item so that it fits a handheld
// screen (the open list still shows the names in full), at most maximumWidth wide.
QComboBox *newChoiceCombo(const QString &objectName, QWidget *parent,
                          int maximumWidth = QWIDGETSIZE_MAX);
