// The installation directory that holds the program's pictures and food database.
#include "platform/installdir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString installationDirectory() {
    QString dir = qEnvironmentVariable("QPEDIR");
    if (dir.isEmpty()) {
        QString bin;
        if (QCoreApplication::instance())
            bin = QCoreApplication::applicationDirPath();
        else
            bin =
                QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section('/', 0, -2);
        dir = QDir::cleanPath(bin + QStringLiteral("/../share/kalo"));
    }
    if (!dir.endsWith('/'))
        dir += '/';
    return dir;
}
