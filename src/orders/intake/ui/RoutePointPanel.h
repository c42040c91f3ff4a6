#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class RoutePointEntry;

// The two input areas of the first step over their controller: the internal map (search
// box, object categories, names, houses, flat, "Новий") and the outside addresses. One
// area is open at a time. The keyboard leads from the search box through the names and
// the houses to the flat, where Enter adds the point and sends the focus back to the
// search box.
class RoutePointPanel : public QWidget
{
    Q_OBJECT
public:
    explicit RoutePointPanel(RoutePointEntry& entry, QWidget* parent = nullptr);

    QLineEdit* searchBox() const { return m_search; }
    QComboBox* categoryBox() const { return m_category; }
    QListWidget* namesList() const { return m_names; }
    QListWidget* housesList() const { return m_houses; }
    QLineEdit* flatBox() const { return m_flat; }
    QPushButton* newHouseButton() const { return m_newHouse; }
    QWidget* mapArea() const { return m_mapArea; }
    QWidget* outsideArea() const { return m_outsideArea; }
    QComboBox* startPlace() const { return m_startPlace; }
    QComboBox* destinationPlace() const { return m_destinationPlace; }
    QLineEdit* startHouse() const { return m_startHouse; }
    QLineEdit* startFlat() const { return m_startFlat; }
    QLineEdit* destinationHouse() const { return m_destinationHouse; }
    QCheckBox* startMyCity() const { return m_startMyCity; }
    QCheckBox* destinationMyCity() const { return m_destinationMyCity; }
    QLabel* distance() const { return m_distance; }
    QPushButton* addOutsideButton() const { return m_addOutside; }
    // "Прорахувати": the web distance of the two ends; the order form's wiring answers it.
    QPushButton* calculateButton() const { return m_calculate; }

    // Opens one area and closes the other; the own city's line shows with the outside
    // area only when it was opened by its button.
    void openMapArea();
    void openOutsideArea(bool byButton);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildMapArea();
    QWidget* buildOutsideArea();
    void takeName();
    void chooseHouse();
    void addBuilding();
    void backToSearch();
    void showNames();
    void showHouses();
    void showOutside();
    void refillPlaces(QComboBox* box, bool start);

    RoutePointEntry& m_entry;

    QLabel* m_mapCaption = nullptr;
    QLabel* m_outsideCaption = nullptr;
    QWidget* m_mapArea = nullptr;
    QWidget* m_outsideArea = nullptr;

    QLineEdit* m_search = nullptr;
    QComboBox* m_category = nullptr;
    QListWidget* m_names = nullptr;
    QListWidget* m_houses = nullptr;
    QLineEdit* m_flat = nullptr;
    QPushButton* m_newHouse = nullptr;

    QLabel* m_ownCity = nullptr;
    QComboBox* m_startPlace = nullptr;
    QLineEdit* m_startHouse = nullptr;
    QLineEdit* m_startFlat = nullptr;
    QCheckBox* m_startMyCity = nullptr;
    QLabel* m_startHint = nullptr;
    QComboBox* m_destinationPlace = nullptr;
    QLineEdit* m_destinationHouse = nullptr;
    QCheckBox* m_destinationMyCity = nullptr;
    QLabel* m_destinationHint = nullptr;
    QLabel* m_distance = nullptr;
    QPushButton* m_addOutside = nullptr;
    QPushButton* m_calculate = nullptr;
};
