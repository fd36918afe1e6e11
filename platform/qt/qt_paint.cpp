#include "platform/qt/qt_paint.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <QFile>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPen>

namespace qtui {

QColor toQColor(gfx::Color c) { return QColor(gfx::red(c), gfx::green(c), gfx::blue(c)); }

QString toQString(const std::string& s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }

std::string fromQString(const QString& s) {
    QByteArray bytes = s.toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString pathToQString(const std::string& path) {
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

std::string pathFromQString(const QString& path) {
    QByteArray bytes = QFile::encodeName(path);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

int toPixels(gfx::Twips t) {
    if (!(t == t)) return 0;  // NaN
    double px = std::round(static_cast<double>(t) / gfx::kTwipsPerPixel);
    return static_cast<int>(std::clamp(px, -100000.0, 100000.0));
}

namespace {

// Device coordinates far outside any page or window are clamped, so huge
// values from a bad drawing cannot overflow the painter's integer paths.
double device(gfx::Twips t, double unitsPerTwip) {
    double v = static_cast<double>(t) * unitsPerTwip;
    if (!(v == v)) return 0;
    return std::clamp(v, -1.0e6, 1.0e6);
}

}  // namespace

QFont fixedFont(float points, double unitsPerTwip) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    // One point is 20 twips.
    double size = std::max(1.0, static_cast<double>(points) * 20.0 * unitsPerTwip);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(std::min(size, 10000.0)))));
    return font;
}

QFont controlFont(const std::string& family, float points, bool bold) {
    QFont font;
    // The layouts are measured in the Windows fonts; where those are
    // missing, a face of the same widths keeps captions inside their boxes
    // (the generic fallback is wider and wraps them): for the serif faces a
    // serif of Times New Roman's widths, for the others a sans serif of
    // Arial's.
    static const std::vector<std::string> serifFaces = {"Times New Roman", "Times", "MS Serif", "Georgia"};
    if (std::find(serifFaces.begin(), serifFaces.end(), family) != serifFaces.end()) {
        font.setFamilies({toQString(family), QStringLiteral("Liberation Serif"), QStringLiteral("Times New Roman"),
                          QStringLiteral("Nimbus Roman")});
        font.setStyleHint(QFont::Serif);
    } else {
        font.setFamilies({toQString(family), QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                          QStringLiteral("Nimbus Sans")});
        font.setStyleHint(QFont::SansSerif);
    }
    // Screen pixels at 96 per inch, the scale the twip layout assumes.
    double px = static_cast<double>(points) * 96.0 / 72.0;
    font.setPixelSize(std::clamp(static_cast<int>(std::lround(px)), 1, 500));
    font.setBold(bold);
    return font;
}

void paintDisplayList(QPainter& painter, const gfx::DisplayList& list, double unitsPerTwip, bool smoothSlopes) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const double pixel = gfx::kTwipsPerPixel * unitsPerTwip;  // one screen pixel in device units
    float fontPoints = -1;
    QFont font;
    double ascent = 0;
    for (const gfx::DrawOp& op : list) {
        QColor color = toQColor(op.color);
        double x1 = device(op.x1, unitsPerTwip), y1 = device(op.y1, unitsPerTwip);
        double x2 = device(op.x2, unitsPerTwip), y2 = device(op.y2, unitsPerTwip);
        double width = std::max(1.0, std::round(std::max(1.0f, op.lineWidth) * pixel));
        QPen pen(color);
        pen.setWidthF(width);
        pen.setCapStyle(Qt::SquareCap);
        pen.setJoinStyle(Qt::MiterJoin);
        switch (op.kind) {
        case gfx::OpKind::Segment:
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            if (!smoothSlopes) {
                painter.drawLine(QPointF(x1, y1), QPointF(x2, y2));
            } else if (x1 == x2 || y1 == y2) {
                // Axis-parallel lines stay crisp: unsmoothed, on whole pixels.
                painter.drawLine(QPointF(std::round(x1), std::round(y1)), QPointF(std::round(x2), std::round(y2)));
            } else {
                // Sloped lines are smoothed, centred on the pixels that an
                // unsmoothed line through the same points would cover.
                painter.setRenderHint(QPainter::Antialiasing, true);
                painter.drawLine(QPointF(x1 + 0.5, y1 + 0.5), QPointF(x2 + 0.5, y2 + 0.5));
                painter.setRenderHint(QPainter::Antialiasing, false);
            }
            break;
        case gfx::OpKind::Box: {
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            QRectF r = QRectF(QPointF(std::round(x1), std::round(y1)), QPointF(std::round(x2), std::round(y2))).normalized();
            if (r.width() < 1 || r.height() < 1)
                painter.drawLine(r.topLeft(), r.bottomRight());
            else
                painter.drawRect(r);
            break;
        }
        case gfx::OpKind::FilledBox: {
            // Both corners belong to the box, so a flat one is still a line.
            QRectF r = QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized();
            if (pixel <= 1.0) {
                QRect whole(QPoint(static_cast<int>(std::lround(r.left())), static_cast<int>(std::lround(r.top()))),
                            QPoint(static_cast<int>(std::lround(r.right())), static_cast<int>(std::lround(r.bottom()))));
                painter.fillRect(whole, color);
                break;
            }
            r.setWidth(std::max(r.width(), pixel));
            r.setHeight(std::max(r.height(), pixel));
            painter.fillRect(r, color);
            break;
        }
        case gfx::OpKind::Text: {
            float points = op.fontSize > 0 ? op.fontSize : 10.0f;
            if (points != fontPoints) {
                fontPoints = points;
                font = fixedFont(points, unitsPerTwip);
                ascent = QFontMetricsF(font).ascent();
            }
            painter.setFont(font);
            painter.setPen(color);
            painter.drawText(QPointF(x1, y1 + ascent), toQString(op.text));
            break;
        }
        }
    }
    painter.restore();
}

QPixmap renderPicture(const gfx::Picture& picture) {
    if (!picture.file.empty()) {
        QPixmap pixmap(pathToQString(picture.file.string()));
        if (!pixmap.isNull()) return pixmap;
    }
    if (picture.drawing.empty()) return {};
    gfx::Twips w = picture.width, h = picture.height;
    if (!(w > 0) || !(h > 0)) {
        // No frame given: the extent of the drawing.
        for (const gfx::DrawOp& op : picture.drawing) {
            w = std::max({w, op.x1, op.x2});
            h = std::max({h, op.y1, op.y2});
        }
    }
    int pw = std::clamp(toPixels(w), 1, 4000), ph = std::clamp(toPixels(h), 1, 4000);
    QPixmap pixmap(pw, ph);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    paintDisplayList(painter, picture.drawing, 1.0 / gfx::kTwipsPerPixel);
    return pixmap;
}

}  // namespace qtui
