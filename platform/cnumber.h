// Number parsing with the C library's strtod rules, independent of the user's locale.
#pragma once

#include <QString>

// strtod over the UTF-8 form of the text in the C locale: leading white space skipped, the longest
// leading decimal number read, 0.0 when there is none. "inf" and "nan" read as such.
double cStrtod(const QString &text);
