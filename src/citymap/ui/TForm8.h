#pragma once

#include "citymap/window/MapOverlays.h"
#include "foundation/ui/FormShell.h"

#include <QImage>

class MapWindowController;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTableWidget;

// The city map window: the tile picture inside its viewport with the scroll buttons and
// the step box, the cursor and scale boxes, the search panel and, when a house or an
// object is to be put on the map, the creation panel. Its state and commands live in
// the map window's controller, given once it exists; the window itself loads and paints
// the tiles it is told to.
class TForm8 : public FormShell, public MapPicture
{
    Q_OBJECT
public:
    explicit TForm8(QWidget* parent = nullptr);

    void setController(MapWindowController& controller);

    // MapPicture
    bool loadTile(const QString& path) override;

    // What the picture shows now: the tile with the overlays painted over it.
    const QImage& shownPicture() const { return m_shown; }
    QWidget* viewport() const { return m_viewport; }
    QLabel* picture() const { return m_picture; }
    QLineEdit* stepBox() const { return m_step; }
    QWidget* searchPanel() const { return m_searchPanel; }
    QWidget* creationPanel() const { return m_creationPanel; }
    QTableWidget* foundGrid() const { return m_found; }
    QComboBox* searchBox(int field) const { return m_searchBoxes[field]; }
    // The creation panel's boxes: house number, object kind, object name, object house.
    QLineEdit* houseNumber() const { return m_houseNumber; }
    QGroupBox* houseGroup() const { return m_houseGroup; }
    QGroupBox* objectGroup() const { return m_objectGroup; }
    void setSearchPanelVisible(bool visible);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* buildToolbar();
    QWidget* buildSearchPanel();
    QWidget* buildCreationPanel();
    void repaintPicture();
    void search(int field);
    void createAtCursor();
    void showCreation(bool houseExpanded);
    void pictureMenu(const QPoint& at);

    MapWindowController* m_controller = nullptr;
    QImage m_tile;
    QImage m_shown;
    QWidget* m_viewport = nullptr;
    QLabel* m_picture = nullptr;
    QLineEdit* m_step = nullptr;
    QLabel* m_cursorX = nullptr;
    QLabel* m_cursorY = nullptr;
    QLabel* m_length = nullptr;
    QLabel* m_pixelsPerCm = nullptr;
    QCheckBox* m_showObjects = nullptr;
    QWidget* m_searchPanel = nullptr;
    QCheckBox* m_searchTicks[4] = {};
    QComboBox* m_searchBoxes[4] = {};
    QTableWidget* m_found = nullptr;
    QWidget* m_creationPanel = nullptr;
    QGroupBox* m_houseGroup = nullptr;
    QGroupBox* m_objectGroup = nullptr;
    QLineEdit* m_houseStreet = nullptr;
    QLineEdit* m_houseNumber = nullptr;
    QLineEdit* m_objectStreet = nullptr;
    QComboBox* m_objectKind = nullptr;
    QLineEdit* m_objectName = nullptr;
    QLineEdit* m_objectHouse = nullptr;
};
