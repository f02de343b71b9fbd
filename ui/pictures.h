// The program's pictures: files below the installation directory, read by their content.
#pragma once

#include <QIcon>
#include <QString>

// The picture pics/kalo/graphics/<name> below the installation directory. The files end in
// ".png_", which names no format, so they are read by content, when the picture is first drawn.
// A missing file gives a null icon, an unreadable one an empty picture: either leaves its tab or
// button bare.
QIcon picture(const QString &name);

// An icon of the picture files (read by content), read when it is first drawn; null without files.
QIcon pictureOfFiles(const QStringList &files);
