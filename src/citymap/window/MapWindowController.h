#pragma once

#include "citymap/window/MapOverlays.h"
#include "citymap/window/MapPlacement.h"
#include "foundation/fb/FbRows.h"

#include <QObject>
#include <QSize>
#include <QStringList>
#include <optional>

class CityMapData;
class IShellOpen;
class MapPicture;
struct DispatchContext;

// The city map window without its widgets: which tile it shows and where, the scroll
// step, the cursor, what is drawn over the tile, the search of map points and the
// creation of houses and objects. The window loads and paints the tiles it is told to
// (MapPicture) and forwards what the dispatcher does.
class MapWindowController : public QObject
{
    Q_OBJECT
public:
    static const QString kNotAllEnteredMessage;
    static const QString kMissingTileMessage;

    enum class SearchField { District, Kind, Label, Street };
    enum class Creating { House, Object };

    MapWindowController(DispatchContext& ctx, const CityMapData& map, MapPicture& picture, IShellOpen& shell,
                        QObject* parent = nullptr);

    // The viewport's size in pixels (the window tells it when it is laid out).
    void setViewport(const QSize& viewport) { m_viewport = viewport; }
    const QSize& viewport() const { return m_viewport; }
    const MapPlacement& placement() const { return m_placement; }
    QString caption() const;
    // The scale boxes: LENGTH and LENGTH_TOCHKA, "0" without a map in use.
    QString lengthText() const;
    QString pixelsPerCmText() const;

    // ---- scrolling -----------------------------------------------------------------------
    // The step box's text; a click reads it again. "0" becomes "100" at the next click;
    // a negative or unreadable step is refused and the last good one comes back.
    void setStepText(const QString& text) { m_stepText = text; }
    const QString& stepText() const { return m_stepText; }
    void scroll(ScrollDirection direction);

    // ---- cursor ------------------------------------------------------------------------
    // The mouse moved over the picture, to this point of the picture.
    void cursorMoved(const QPoint& inPicture);
    const QPoint& cursor() const { return m_cursor; } // map coordinates

    // ---- overlays -----------------------------------------------------------------------
    void setShowObjects(bool show);
    bool showObjects() const { return m_showObjects; }
    const MapOverlays& overlays() const { return m_overlays; }

    // Shows a point found by its label centred and marked; opens the online map search
    // when the city map is not in use. Throws nothing: failures are shown.
    void ShowLabelOnMap(const QString& label);

    // ---- search ---------------------------------------------------------------------------
    // Enter in a search box: the points meeting the condition of every ticked box (the
    // box Enter was pressed in counts as ticked), ordered by label.
    struct SearchCondition
    {
        SearchField field;
        QString text;
    };
    void search(const QList<SearchCondition>& conditions);
    struct Found
    {
        QString label, kind, district;
    };
    const QList<Found>& found() const { return m_found; }
    // The drop-down of a search box: the values of its column that hold the text.
    QStringList suggestions(SearchField field, const QString& text);

    // ---- creation ---------------------------------------------------------------------------
    // Opens the window for adding a house on a street, centred on the street's first point.
    void startHouseCreation(const QString& street, int streetNumber);
    bool creationMode() const { return m_creationStreet.has_value(); }
    const std::optional<QString>& creationStreet() const { return m_creationStreet; }
    // Back to searching: the creation panel goes, the search panel comes.
    void endCreation();
    // The main window hides the search panel before it shows a place.
    void setSearchPanelShown(bool shown);
    bool searchPanelShown() const { return m_searchPanelShown && !creationMode(); }
    QStringList objectKinds();
    struct NewPoint
    {
        Creating what = Creating::House;
        QString street;
        QString house;
        QString kind; // objects only
        QString name; // objects only
    };
    // "Створити вказаний обєкт на карті" at the cursor. True when the point was created.
    bool create(const NewPoint& point);

signals:
    // The picture shows another placement or other overlays: repaint.
    void pictureChanged();
    // The window shows itself (a point was shown, or a creation started).
    void showRequested();
    // A house was put on the map; the order form adds its number to its houses list.
    void houseCreated(const QString& street, const QString& house);
    void closeRequested();
    // The creation or the search panel came or went.
    void panelsChanged();

private:
    // Loads a placement's tile and draws the overlays; keeps the old placement when the
    // tile cannot be loaded.
    bool moveTo(const MapPlacement& placement);
    void drawOverlays();
    void drawDriversAtStands();
    void drawObjectLabels();
    void highlightStreet();
    std::optional<QPoint> pointOfLabel(const QString& label);
    // One read on the shared transaction, committed before and after so that it sees what
    // other workstations committed and holds no snapshot. Throws DbError.
    FbRows read(const QString& statement);
    // The same with a failure shown: nothing then.
    std::optional<FbRows> readShown(const QString& statement);
    std::optional<int> parsedStep();

    DispatchContext& m_ctx;
    const CityMapData& m_map;
    MapPicture& m_picture;
    IShellOpen& m_shell;
    QSize m_viewport{800, 600};
    MapPlacement m_placement;
    QString m_stepText;
    int m_lastStep = 100;
    QPoint m_cursor;
    bool m_showObjects = false;
    MapOverlays m_overlays;
    std::optional<QPoint> m_marked; // the point ShowLabelOnMap marked, map coordinates
    QString m_markedLabel;
    QList<Found> m_found;
    std::optional<QString> m_creationStreet;
    bool m_searchPanelShown = true;
};
