// The Options page: the custom weight, the default view and the About text.
#pragma once

#include <QFrame>

struct Settings;
class QComboBox;
class QLabel;
class QLineEdit;

class OptionsPage : public QFrame {
    Q_OBJECT
public:
    OptionsPage(const Settings &settings, QWidget *parent);

    // Shows the weight and view of the settings.
    void showSettings(const Settings &settings);
    // Copies the weight (normalised) and the view shown into the settings.
    void readInto(Settings &settings) const;
    // The About text is laid out when first needed: wrapped rich text is a good part of a start.
    bool hasAboutText() const;
    void setAboutText(const QString &text);

private:
    QLineEdit *weightEdit = nullptr;
    QComboBox *viewSizeCombo = nullptr;
    QLabel *aboutLabel = nullptr;
};
