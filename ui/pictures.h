// The program's pictures: files below the installation directory, read by their content.
#pragma once

#include <QIcon>
#include <QString>

// The picture pics/kalo/graphics/<name> below the installation directory. The files end in
// ".png_", which names no format, so they are read by content. A missing or unreadable file gives
// a null icon, which leaves its tab or button bare.
QIcon picture(const QString &name);
