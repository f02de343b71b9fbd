// The Options page: the custom weight, the report and search choices, and the About text.
#pragma once

#include <QFrame>

struct Settings;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

class OptionsPage : public QFrame {
    Q_OBJECT
public:
    OptionsPage(const Settings &settings, QWidget *parent);

    // Shows the weight, view and search choices of the settings.
    void showSettings(const Settings &settings);
    // Copies the weight (normalised) and the choices shown into the settings.
    void readInto(Settings &settings) const;
    // The About text is laid out when first needed: wrapped rich text is a good part of a start.
    bool hasAboutText() const;
    void setAboutText(const QString &text);

private:
    QLineEdit *weightEdit = nullptr;
    QComboBox *viewSizeCombo = nullptr;
    QCheckBox *dailyValueBox = nullptr;
    QCheckBox *rangesBox = nullptr;
    QComboBox *searchOrderCombo = nullptr;
    QCheckBox *allWordsBox = nullptr;
    QLabel *aboutLabel = nullptr;
};
