// The file name an export suggests.
#pragma once

#include <QString>

// "<subject> - <detail>.<suffix>", or "<subject>.<suffix>" without a detail: "Cheese, cheddar -
// 1 oz.pdf", "Search - cheddar.csv". A "/" (which would name a folder) is written as "-", a line
// break or other control character as a blank, and blanks at the ends go. A long description is
// cut so that the name stays within the 255 bytes a file name may take.
QString exportFileName(const QString &subject, const QString &detail, const QString &suffix);
