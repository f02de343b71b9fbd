// The Compare dialog: two foods side by side in one table.
#pragma once

#include "details/foodreport.h"

#include <QDialog>
#include <QStringList>

struct PageContext;
struct Settings;
class QEvent;
class QTextBrowser;

// Captioned "Compare": nutrient, unit and both foods' amounts at the custom weight, each food's
// description as its column head. Escape or the Close button closes it.
class CompareDialog : public QDialog {
    Q_OBJECT
public:
    explicit CompareDialog(QWidget *parent);

    // Shows the two foods in the view asked for (Full where either food has its full record,
    // otherwise Detailed in its place).
    void setFoods(const FoodReport &first, const FoodReport &second, ReportView view);

    // Reads both foods from the database at the custom weight of the settings and shows them
    // modally in the default view, sized to the parent (whose child the dialog stays, reused by
    // the next comparison). When a statement fails its error box is shown instead.
    static void compare(const PageContext &context, const QString &firstId, const QString &secondId,
                        QWidget *parent);

protected:
    void changeEvent(QEvent *event) override;

private:
    void showTable();

    QTextBrowser *compareBrowser = nullptr;
    FoodReport firstFood;
    FoodReport secondFood;
    ReportView view = ReportView::Basic;
};
