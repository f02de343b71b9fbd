// Summaries of repeated measurements and the rows of the benchmark table (Markdown).
#include "bench/benchtable.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

namespace {

double nearestRank(const QList<double> &sorted, double fraction) {
    const int n = int(sorted.size());
    const int rank = qBound(1, int(std::ceil(fraction * n)), n);
    return sorted.at(rank - 1);
}

QString cell(const QString &text) {
    return text.isEmpty() ? QStringLiteral("-") : text;
}

} // namespace

Summary summarize(QList<double> samples) {
    Summary s;
    s.count = int(samples.size());
    if (samples.isEmpty())
        return s;
    std::sort(samples.begin(), samples.end());
    const int n = s.count;
    s.median = n % 2 ? samples.at(n / 2) : (samples.at(n / 2 - 1) + samples.at(n / 2)) / 2.0;
    if (n < 10) {
        s.low = samples.first();
        s.high = samples.last();
    } else {
        s.low = nearestRank(samples, 0.10);
        s.high = nearestRank(samples, 0.90);
    }
    return s;
}

QString tableHeader() {
    return QStringLiteral(
        "| Measurement | Runs | Median | Spread | In event windows | Outside | Paint | Goal | Met "
        "|\n|---|---:|---:|---:|---:|---:|---:|---|---|");
}

QString tableLine(const TableRow &row) {
    const QStringList cells{
        row.measurement,     QString::number(row.runs), cell(row.median), cell(row.spread),
        cell(row.inWindows), cell(row.outside),         cell(row.paint),  cell(row.goal),
        cell(row.met)};
    return QStringLiteral("| ") + cells.join(QStringLiteral(" | ")) + QStringLiteral(" |");
}

QString ms(double milliseconds) {
    const int decimals = milliseconds >= 100.0 ? 0 : 1;
    return QString::number(milliseconds, 'f', decimals) + QStringLiteral(" ms");
}

QString msSpread(const Summary &summary) {
    const int decimals = summary.high >= 100.0 ? 0 : 1;
    return QString::number(summary.low, 'f', decimals) + QStringLiteral("–") +
           QString::number(summary.high, 'f', decimals);
}

QString mib(double mebibytes) {
    return QString::number(mebibytes, 'f', 1) + QStringLiteral(" MiB");
}
