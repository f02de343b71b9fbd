// The report's colours for the palette the report is shown with.
#include "ui/reportcolours.h"

#include <QPalette>
#include <cstdlib>

namespace {

QColor mixed(const QColor &from, const QColor &to, double share) {
    return QColor::fromRgbF(float(from.redF() + (to.redF() - from.redF()) * share),
                            float(from.greenF() + (to.greenF() - from.greenF()) * share),
                            float(from.blueF() + (to.blueF() - from.blueF()) * share));
}

} // namespace

ReportColours reportColours(const QPalette &palette) {
    const QColor base = palette.color(QPalette::Base);
    const QColor text = palette.color(QPalette::Text);
    if (base.lightness() >= text.lightness())
        return ReportColours();
    QColor alternate = palette.color(QPalette::AlternateBase);
    // A second shade as close to the text as to the base would make its rows hard to read.
    if (alternate == base || std::abs(alternate.lightness() - base.lightness()) >
                                 std::abs(alternate.lightness() - text.lightness()))
        alternate = mixed(base, text, 0.1);
    ReportColours colours;
    colours.light = base.name();
    colours.dark = alternate.name();
    colours.text = text.name();
    return colours;
}
