// The modal details dialog: a food's nutrient report with copy, bookmark, serving and view tools.
#pragma once

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTimer>

struct Settings;
class QFrame;
class QLabel;
class QMenu;
class QResizeEvent;
class QTextBrowser;
class QToolButton;

class KALODetailsDialog : public QDialog {
    Q_OBJECT
public:
    // The bookmark button adds and removes bookmarks in the settings.
    KALODetailsDialog(Settings &settings, QWidget *parent);
    ~KALODetailsDialog() override;

    // Takes a complete new report and updates every widget: texts, caption, bookmark picture, the
    // serving menu with weightIndex checked. Sizes the dialog to its parent.
    void setDetails(const QString &id, const QString &desc, const QString &basic,
                    const QString &detailed, const QStringList &weightNames, QList<double> weights,
                    int weightIndex);
    // The view the next setDetails shows.
    void setBasicView(bool basic);

signals:
    void valueChanged(int weightIndex);
    void bookMarkAdded(QString id);
    void bookmarksChanged();

protected:
    void resizeEvent(QResizeEvent *event) override;

private slots:
    void copy();
    void addBookmark();
    void selectWeight();
    void changeView();
    void timeout();

private:
    // Shows a short note as the caption; the caption returns 1.5 s after the last note.
    void showNote(const QString &note);

    Settings &settings;
    QTextBrowser *reportBrowser = nullptr;
    QString basicText;
    QString detailedText;
    QFrame *buttonFrame = nullptr;
    QToolButton *copyButton = nullptr;
    QToolButton *bookmarkButton = nullptr;
    QToolButton *weightButton = nullptr;
    QToolButton *viewButton = nullptr;
    QLabel *weightLabel = nullptr;
    QMenu *weightMenu = nullptr;
    QList<double> menuWeights;
    bool showBasic = true;
    QString shownId;
    QString shownDesc;
    QTimer noteTimer;
};
