#include "DemoMapPainter.h"

#include "StreetLine.h"

#include <QFont>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace {
const QString kFontFamily = QStringLiteral("DejaVu Sans");
// Labels reach this far beyond their point; items farther from a tile are not painted.
constexpr int kReach = 400;

bool isWideStreet(const QString& name)
{
    return name.startsWith(QStringLiteral("просп.")) || name.startsWith(QStringLiteral("бульв."));
}

// Text with a light halo, readable over streets and other labels.
void haloText(QPainter& painter, const QPointF& at, const QString& text, const QFont& font,
              const QColor& colour)
{
    QPainterPath path;
    path.addText(at, font, text);
    painter.strokePath(path, QPen(QColor(255, 255, 255, 220), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.fillPath(path, colour);
}

QFont font(int pixels, bool bold = false)
{
    QFont f(kFontFamily);
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

bool near(const QRect& area, const QPoint& p)
{
    return area.contains(p);
}

bool lineNear(const QRect& area, const QVector<QPoint>& points)
{
    QRect box;
    for (const QPoint& p : points)
        box |= QRect(p, QSize(1, 1));
    return box.intersects(area);
}
} // namespace

DemoMapPainter::DemoMapPainter(const DemoMapCity& city) : m_city(city)
{
    for (const auto& street : city.streets) {
        QVector<QPoint> points = StreetLine::through(street.points);
        if (points.size() >= 2)
            m_lines.push_back(Line{street.name, points, isWideStreet(street.name)});
    }
    // A district's name stands at the middle of its points.
    QHash<QString, QPair<QPointF, int>> sums;
    for (const auto& point : city.points) {
        if (point.district.isEmpty() || point.district == QStringLiteral("не задано"))
            continue;
        auto& sum = sums[point.district];
        sum.first += QPointF(point.at);
        ++sum.second;
    }
    for (auto it = sums.cbegin(); it != sums.cend(); ++it)
        m_districts.push_back(DistrictName{it.key(), (it.value().first / it.value().second).toPoint()});
}

QImage DemoMapPainter::paint(const QRect& area) const
{
    QImage image(area.size(), QImage::Format_RGB32);
    image.fill(kBackground);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.translate(-area.topLeft());
    const QRect reach = area.adjusted(-kReach, -kReach, kReach, kReach);
    paintDistricts(painter, reach);
    paintStreets(painter, reach);
    paintStreetNames(painter, reach);
    paintPoints(painter, reach);
    return image;
}

void DemoMapPainter::paintDistricts(QPainter& painter, const QRect& reach) const
{
    const QFont big = font(64, true);
    painter.setFont(big);
    painter.setPen(QColor(200, 190, 175));
    const QFontMetrics metrics(big);
    for (const auto& district : m_districts) {
        if (!reach.adjusted(-kReach, -kReach, kReach, kReach).contains(district.at))
            continue;
        const int width = metrics.horizontalAdvance(district.name);
        painter.drawText(district.at - QPoint(width / 2, 0), district.name);
    }
}

void DemoMapPainter::paintStreets(QPainter& painter, const QRect& reach) const
{
    for (const bool casing : {true, false})
        for (const auto& line : m_lines) {
            if (!lineNear(reach, line.points))
                continue;
            const int width = line.wide ? 16 : 11;
            const QColor colour = casing      ? QColor(176, 168, 152)
                                  : line.wide ? QColor(252, 214, 138)
                                              : Qt::white;
            painter.setPen(
                QPen(colour, casing ? width + 3 : width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter.drawPolyline(line.points.constData(), int(line.points.size()));
        }
}

void DemoMapPainter::paintStreetNames(QPainter& painter, const QRect& reach) const
{
    const QFont nameFont = font(12, true);
    const QFontMetrics metrics(nameFont);
    constexpr double kFirst = 220.0;
    constexpr double kEvery = 650.0;
    for (const auto& line : m_lines) {
        if (!lineNear(reach, line.points))
            continue;
        const QPointF from = line.points.front();
        const QPointF to = line.points.back();
        const double length = std::hypot(to.x() - from.x(), to.y() - from.y());
        double angle = qRadiansToDegrees(std::atan2(to.y() - from.y(), to.x() - from.x()));
        if (angle > 90.0)
            angle -= 180.0;
        else if (angle <= -90.0)
            angle += 180.0;
        const int width = metrics.horizontalAdvance(line.name);
        const double first = length < kFirst * 2 ? length / 2 : kFirst;
        for (double along = first; along < length; along += kEvery) {
            const QPointF at = from + (to - from) * (along / length);
            if (!reach.contains(at.toPoint()))
                continue;
            painter.save();
            painter.translate(at);
            painter.rotate(angle);
            haloText(painter, QPointF(-width / 2.0, 4), line.name, nameFont, QColor(51, 51, 51));
            painter.restore();
        }
    }
}

void DemoMapPainter::paintPoints(QPainter& painter, const QRect& reach) const
{
    const QFont houseFont = font(9);
    const QFont objectFont = font(11, true);
    const QFont standFont = font(12, true);
    // Houses first, then objects, then stands: the most used marks lie on top.
    for (const auto& point : m_city.points) {
        if (point.status != QStringLiteral("БУДИНОК") || !near(reach, point.at))
            continue;
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(kHouseColour));
        painter.drawEllipse(point.at, 3, 3);
        const qsizetype open = point.label.indexOf(u'{');
        const qsizetype close = point.label.indexOf(u'}', open);
        if (open >= 0 && close > open)
            haloText(painter, point.at + QPointF(5, -5), point.label.mid(open + 1, close - open - 1),
                     houseFont, QColor(110, 90, 70));
    }
    for (const auto& point : m_city.points) {
        if (point.status == QStringLiteral("БУДИНОК") || point.status == QStringLiteral("СТОЯНКА") ||
            point.label.isEmpty() || !near(reach, point.at))
            continue;
        QPolygon diamond({point.at + QPoint(0, -7), point.at + QPoint(7, 0), point.at + QPoint(0, 7),
                          point.at + QPoint(-7, 0)});
        painter.setPen(QPen(Qt::white, 1.5));
        painter.setBrush(QColor(kObjectColour));
        painter.drawPolygon(diamond);
        const qsizetype cut = point.label.indexOf(QStringLiteral("  "));
        haloText(painter, point.at + QPointF(10, 4), cut < 0 ? point.label : point.label.left(cut),
                 objectFont, QColor(kObjectColour));
    }
    for (const auto& point : m_city.points)
        if (point.status == QStringLiteral("СТОЯНКА") && !point.label.isEmpty() && near(reach, point.at))
            haloText(painter, point.at + QPointF(12, -10), point.label, standFont, Qt::black);
    for (const auto& point : m_city.points) {
        if (point.status != QStringLiteral("СТОЯНКА") || !near(reach, point.at))
            continue;
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(QColor(kStandColour));
        painter.drawRect(QRect(point.at - QPoint(8, 8), QSize(16, 16)));
        painter.setPen(QPen(Qt::black, 2));
        painter.drawLine(point.at + QPoint(-4, -4), point.at + QPoint(4, -4));
        painter.drawLine(point.at + QPoint(0, -4), point.at + QPoint(0, 4));
    }
}
