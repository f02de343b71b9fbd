// The installation directory that holds the program's pictures and food database.
#pragma once

#include <QString>

// The directory, always ending in '/': $QPEDIR when set, otherwise <dir of
// executable>/../share/kalo. The build tree has the same layout (bin/ beside share/kalo), so a
// program run from there finds the data built with it.
QString installationDirectory();
