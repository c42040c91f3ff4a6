#pragma once

#include <QPoint>
#include <QString>
#include <vector>

// What is drawn over the tile the map window shows, in picture coordinates: texts on a
// solid background (bold Times New Roman) and solid circles. Colours are 0xRRGGBB.
struct MapOverlays
{
    static constexpr quint32 kNoBackground = 0xFF000000; // the text alone, on the tile
    struct Text
    {
        QPoint at; // top-left corner of the text
        QString text;
        quint32 colour = 0x0000FF;
        quint32 background = 0xC0C0C0;
        bool operator==(const Text&) const = default;
    };
    struct Circle
    {
        QPoint centre;
        int radius = 0;
        quint32 colour = 0;
        bool operator==(const Circle&) const = default;
    };

    std::vector<Circle> circles; // drawn first
    std::vector<Text> texts;

    void clear()
    {
        circles.clear();
        texts.clear();
    }
};

// The tile picture of the map window: it loads the tile it is told to and paints the
// overlays over it. The window implements it; tests use a recording one.
class MapPicture
{
public:
    virtual ~MapPicture() = default;
    // False when the tile cannot be read; the picture then keeps what it showed.
    virtual bool loadTile(const QString& path) = 0;
};
