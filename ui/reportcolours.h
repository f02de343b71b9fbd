// The report's colours for the palette the report is shown with.
#pragma once

#include "details/nutrientreport.h"

class QPalette;

// On a light palette (text darker than the base) the report's own light shades and no text
// colour, so the report reads as it always has. On a dark palette the rows alternate between the
// palette's base and alternate base (a shade mixed from base and text where the palette gives no
// distinct one nearer the base) and the text takes the palette's text colour.
ReportColours reportColours(const QPalette &palette);
