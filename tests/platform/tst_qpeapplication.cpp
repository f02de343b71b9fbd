// The application object's window icon: the one installed beside the program's data.
#include "platform/qpeapplication.h"

#include <QDir>
#include <QIcon>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// An installation as the install step lays it out: share/kalo and the icon theme beside it.
QTemporaryDir *installation = nullptr;

void prepareInstallation() {
    installation = new QTemporaryDir;
    const QString share = installation->path() + QStringLiteral("/share");
    QDir().mkpath(share + QStringLiteral("/kalo/pics/kalo"));
    for (int size : {48, 256}) {
        const QString dir = share + QStringLiteral("/icons/hicolor/%1x%1/apps").arg(size);
        QDir().mkpath(dir);
        QImage image(size, size, QImage::Format_ARGB32);
        image.fill(Qt::darkGreen);
        image.save(dir + QStringLiteral("/kalo.png"));
    }
    qputenv("QPEDIR", QFile::encodeName(share + QStringLiteral("/kalo")));
}

} // namespace

class TestQPEApplication : public QObject {
    Q_OBJECT
private slots:
    void windowIconIsTheInstalledOne() {
        const QList<QSize> sizes = QApplication::windowIcon().availableSizes();
        QVERIFY(sizes.contains(QSize(48, 48)));
        QVERIFY(sizes.contains(QSize(256, 256)));
    }
};

int main(int argc, char **argv) {
    // The icon is chosen while the application object is made, so the installation comes first.
    prepareInstallation();
    QPEApplication app(argc, argv);
    TestQPEApplication test;
    const int result = QTest::qExec(&test, argc, argv);
    delete installation;
    return result;
}

#include "tst_qpeapplication.moc"
