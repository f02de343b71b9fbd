// Summaries of repeated measurements and the rows of the benchmark table (Markdown).
#pragma once

#include <QList>
#include <QString>

// The median and the 10th and 90th percentiles (nearest rank) of a set of samples; with fewer
// than ten samples the spread is the minimum and the maximum.
struct Summary {
    int count = 0;
    double median = 0.0;
    double low = 0.0;
    double high = 0.0;
};

Summary summarize(QList<double> samples);

// One row of the table; empty cells print as "-".
struct TableRow {
    QString measurement;
    int runs = 0;
    QString median;
    QString spread;
    QString inWindows;
    QString outside;
    QString paint;
    QString goal;
    QString met; // "yes", "no" or empty when the row has no goal of its own
};

QString tableHeader();
QString tableLine(const TableRow &row);

// "12.3 ms" style texts.
QString ms(double milliseconds);
QString msSpread(const Summary &summary);
QString mib(double mebibytes);
