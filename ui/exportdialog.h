// The file dialog an export asks where to write with.
#pragma once

#include <QList>
#include <QString>

class QWidget;

// A kind of file an export writes: the name the dialog's filter shows and the file name ending.
struct ExportFilter {
    QString name;   // "CSV"
    QString suffix; // "csv", without the dot
};

// The chosen file and the filter chosen with it (an index into the filters).
struct ExportChoice {
    QString path; // null: the dialog was cancelled
    int filter = 0;
};

// Asks for a file to save into, suggesting exportFileName(subject, detail) with the first
// filter's ending in the user's documents folder. A change of filter changes the suggested name's
// ending to match.
ExportChoice askExportPath(QWidget *parent, const QString &subject, const QString &detail,
                           const QList<ExportFilter> &filters);
