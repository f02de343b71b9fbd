// Build-time tool that draws the program's pictures and its application icon as PNG files.
//
// Usage: kalo_drawicons <graphics dir> <icon theme dir> <size>...
// Writes <graphics dir>/<name>.png_ (64 px) and <name>@2x.png_ (128 px, for screens of device
// pixel ratio 2) for the tab and tool-button pictures, and <icon theme dir>/<N>x<N>/apps/kalo.png
// for the application icon at each size N given.
//
// Every picture is drawn on a 64 by 64 grid with strokes of at least 4 units, so that it stays
// legible when the toolkit scales it down to 16 px. The scalable application icon, kalo.svg beside
// this file, draws the same apple as application() below.
#include <QColor>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

const qreal pi = 3.14159265358979323846;

const QColor ink(0x2e, 0x34, 0x40);
const QColor paper(0xfa, 0xfa, 0xf7);
const QColor lineGrey(0x8a, 0x93, 0x9e);
const QColor red(0xd6, 0x3a, 0x2f);
const QColor green(0x2e, 0x9e, 0x4f);
const QColor blue(0x2f, 0x6f, 0xc4);
const QColor glass(0xbf, 0xdc, 0xf5);
const QColor gold(0xf2, 0xb8, 0x22);
const QColor silver(0xb8, 0xc0, 0xc8);
const QColor bronze(0xc8, 0x7a, 0x3c);

QPen outline(qreal width = 4) {
    return QPen(ink, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void page(QPainter &p, const QRectF &r) {
    p.setPen(outline());
    p.setBrush(paper);
    p.drawRoundedRect(r, 4, 4);
}

// Text lines on a page: thick grey bars.
void lines(QPainter &p, qreal x1, qreal x2, qreal y, int count, qreal step) {
    p.setPen(QPen(lineGrey, 5, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < count; ++i)
        p.drawLine(QPointF(x1, y + i * step), QPointF(x2, y + i * step));
}

// A round badge with a plus or a minus, at the lower right.
void badge(QPainter &p, const QColor &colour, bool plus) {
    p.setPen(QPen(Qt::white, 4));
    p.setBrush(colour);
    p.drawEllipse(QPointF(46, 46), 16, 16);
    p.setPen(QPen(Qt::white, 6, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(37, 46), QPointF(55, 46));
    if (plus)
        p.drawLine(QPointF(46, 37), QPointF(46, 55));
}

void ribbon(QPainter &p, const QRectF &r) {
    const qreal notch = r.width() * 0.45;
    QPolygonF shape;
    shape << r.topLeft() << r.topRight() << r.bottomRight()
          << QPointF(r.center().x(), r.bottom() - notch) << r.bottomLeft();
    p.setPen(outline());
    p.setBrush(red);
    p.drawPolygon(shape);
}

// Browse: a list of entries with coloured bullets.
void contents(QPainter &p) {
    page(p, QRectF(8, 4, 48, 56));
    const QColor bullets[] = {red, green, gold, blue};
    for (int i = 0; i < 4; ++i) {
        const qreal y = 16 + i * 11.5;
        p.setPen(Qt::NoPen);
        p.setBrush(bullets[i]);
        p.drawRoundedRect(QRectF(15, y - 4, 8, 8), 1.5, 1.5);
        p.setPen(QPen(lineGrey, 5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(29, y), QPointF(48, y));
    }
}

// Search: a magnifying glass.
void viewmag(QPainter &p) {
    p.setPen(QPen(ink, 11, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(39, 39), QPointF(56, 56));
    p.setPen(QPen(ink, 6));
    p.setBrush(glass);
    p.drawEllipse(QPointF(26, 26), 18, 18);
    p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(15, 15, 22, 22), 100 * 16, 70 * 16);
}

// Top foods: a winners' podium.
void top50(QPainter &p) {
    p.setPen(outline());
    p.setBrush(silver);
    p.drawRect(QRectF(4, 30, 19, 30));
    p.setBrush(bronze);
    p.drawRect(QRectF(41, 40, 19, 20));
    p.setBrush(gold);
    p.drawRect(QRectF(22.5, 18, 19, 42));
    // A star over the winner.
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const qreal radius = (i % 2) ? 4.2 : 10.0;
        const qreal angle = -pi / 2 + i * pi / 5;
        star << QPointF(32 + radius * std::cos(angle), 9.5 + radius * std::sin(angle));
    }
    p.setPen(QPen(ink, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(gold);
    p.drawPolygon(star);
}

void bookmark(QPainter &p) {
    ribbon(p, QRectF(16, 4, 32, 56));
}

// Options and about: an information sign.
void about(QPainter &p) {
    p.setPen(outline());
    p.setBrush(blue);
    p.drawEllipse(QPointF(32, 32), 28, 28);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(32, 18), 5.5, 5.5);
    p.drawRoundedRect(QRectF(27, 27, 10, 24), 2, 2);
}

// Delete all bookmarks: a waste bin.
void wasteBin(QPainter &p) {
    p.setPen(outline());
    p.setBrush(silver);
    QPolygonF bin;
    bin << QPointF(14, 18) << QPointF(50, 18) << QPointF(46, 60) << QPointF(18, 60);
    p.drawPolygon(bin);
    p.setPen(QPen(ink, 4, Qt::SolidLine, Qt::RoundCap));
    for (qreal x : {25.0, 32.0, 39.0})
        p.drawLine(QPointF(x, 26), QPointF(x, 52));
    p.setPen(outline());
    p.setBrush(red);
    p.drawRoundedRect(QRectF(8, 10, 48, 8), 2, 2);
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(25, 4, 14, 6), 2, 2);
}

// Compare two bookmarked foods: a pair of scales.
void compare(QPainter &p) {
    p.setPen(outline());
    p.setBrush(silver);
    p.drawRoundedRect(QRectF(20, 54, 24, 6), 2, 2);
    p.setPen(QPen(ink, 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(32, 10), QPointF(32, 54));
    p.drawLine(QPointF(8, 16), QPointF(56, 16));
    p.setPen(QPen(ink, 2.5, Qt::SolidLine, Qt::RoundCap));
    for (qreal x : {14.0, 50.0}) {
        p.drawLine(QPointF(x, 16), QPointF(x - 9, 36));
        p.drawLine(QPointF(x, 16), QPointF(x + 9, 36));
    }
    p.setPen(outline(3));
    p.setBrush(gold);
    p.drawChord(QRectF(3, 26, 22, 20), 180 * 16, 180 * 16);
    p.setBrush(green);
    p.drawChord(QRectF(39, 26, 22, 20), 180 * 16, 180 * 16);
}

// Copy: two overlapping pages.
void copyPages(QPainter &p) {
    page(p, QRectF(4, 4, 36, 44));
    lines(p, 11, 31, 14, 3, 9);
    page(p, QRectF(22, 16, 38, 44));
    lines(p, 29, 51, 27, 3, 9);
}

void bookmarkAdd(QPainter &p) {
    ribbon(p, QRectF(8, 4, 30, 50));
    badge(p, green, true);
}

void bookmarkRemove(QPainter &p) {
    ribbon(p, QRectF(8, 4, 30, 50));
    badge(p, red, false);
}

// The serving-weight menu: a down arrow, with a light rim that keeps it visible on a dark strip.
void down(QPainter &p) {
    QPolygonF arrow;
    arrow << QPointF(8, 21) << QPointF(56, 21) << QPointF(32, 49);
    p.setPen(QPen(paper, 10, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(paper);
    p.drawPolygon(arrow);
    p.setPen(QPen(ink, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(ink);
    p.drawPolygon(arrow);
}

// Fewer rows of the report.
void viewless(QPainter &p) {
    page(p, QRectF(6, 4, 40, 52));
    lines(p, 13, 38, 15, 2, 10);
    badge(p, blue, false);
}

// More rows of the report.
void viewmore(QPainter &p) {
    page(p, QRectF(6, 4, 40, 52));
    lines(p, 13, 38, 13, 4, 8);
    badge(p, blue, true);
}

// Every nutrient of the food: a page packed with rows.
void viewfull(QPainter &p) {
    page(p, QRectF(6, 4, 40, 52));
    lines(p, 13, 38, 12, 6, 6.5);
    badge(p, green, true);
}

// The Nutrition Facts label: its heading and the thick and thin rules between its lines.
void label(QPainter &p) {
    page(p, QRectF(10, 2, 44, 60));
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawRect(QRectF(16, 8, 32, 8));
    p.drawRect(QRectF(16, 20, 32, 5));
    p.drawRect(QRectF(16, 50, 32, 4));
    p.setPen(QPen(lineGrey, 4, Qt::SolidLine, Qt::FlatCap));
    for (const qreal y : {31.0, 38.0, 45.0})
        p.drawLine(QPointF(16, y), QPointF(48, y));
}

// The application icon: an apple.
void application(QPainter &p) {
    QPainterPath apple;
    apple.moveTo(32, 18);
    apple.cubicTo(44, 10, 60, 16, 58, 34);
    apple.cubicTo(57, 48, 48, 60, 40, 60);
    apple.cubicTo(36, 60, 35, 58, 32, 58);
    apple.cubicTo(29, 58, 28, 60, 24, 60);
    apple.cubicTo(16, 60, 7, 48, 6, 34);
    apple.cubicTo(4, 16, 20, 10, 32, 18);
    p.setPen(outline(3));
    p.setBrush(red);
    p.drawPath(apple);
    p.setPen(QPen(QColor(255, 255, 255, 150), 4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(13, 24, 20, 26), 120 * 16, 60 * 16);
    p.setPen(QPen(ink, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(32, 19), QPointF(34, 6));
    QPainterPath leaf;
    leaf.moveTo(35, 12);
    leaf.cubicTo(38, 3, 48, 2, 54, 4);
    leaf.cubicTo(51, 12, 42, 15, 35, 12);
    p.setPen(outline(2.5));
    p.setBrush(green);
    p.drawPath(leaf);
}

bool render(const QString &path, int size, const std::function<void(QPainter &)> &draw) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 64.0, size / 64.0);
        draw(p);
    }
    // The ".png_" ending names no format, so give it explicitly.
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "kalo_drawicons: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: kalo_drawicons <graphics dir> <icon theme dir> <size>...\n");
        return 2;
    }
    const QString graphics = QString::fromLocal8Bit(argv[1]);
    const QString theme = QString::fromLocal8Bit(argv[2]);
    if (!QDir().mkpath(graphics)) {
        std::fprintf(stderr, "kalo_drawicons: cannot create %s\n", argv[1]);
        return 1;
    }

    const struct {
        const char *name;
        void (*draw)(QPainter &);
    } pictures[] = {
        {"contents", contents},
        {"viewmag", viewmag},
        {"top50", top50},
        {"bookmark", bookmark},
        {"about", about},
        {"remove", wasteBin},
        {"compare", compare},
        {"copy", copyPages},
        {"bookmark_add", bookmarkAdd},
        {"bookmark_remove", bookmarkRemove},
        {"down", down},
        {"viewless", viewless},
        {"viewmore", viewmore},
        {"viewfull", viewfull},
        {"label", label},
    };
    bool ok = true;
    for (const auto &picture : pictures) {
        const QString base = graphics + QLatin1Char('/') + QLatin1String(picture.name);
        ok = render(base + QLatin1String(".png_"), 64, picture.draw) && ok;
        ok = render(base + QLatin1String("@2x.png_"), 128, picture.draw) && ok;
    }

    for (int i = 3; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size < 1) {
            std::fprintf(stderr, "kalo_drawicons: not a size: %s\n", argv[i]);
            return 2;
        }
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(theme).arg(size);
        ok =
            QDir().mkpath(dir) && render(dir + QLatin1String("/kalo.png"), size, application) && ok;
    }
    return ok ? 0 : 1;
}
