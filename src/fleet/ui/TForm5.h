#pragma once

#include "foundation/ui/FormShell.h"

#include <QHash>

class CarCard;
class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

// The car card of a driver on air, over the car card's controller given once it
// exists. Always on top, centred.
class TForm5 : public FormShell
{
    Q_OBJECT
public:
    explicit TForm5(QWidget* parent = nullptr);

    void setController(CarCard& controller);

    // The text a field shows, by its name ("Label11" the callsign, "Label46" the GPRS sign).
    QString fieldText(const QString& name) const;
    QListWidget* standList() const { return m_places; }
    QListWidget* tickList() const { return m_objects; }
    QComboBox* otherCarBox() const { return m_otherCars; }
    QComboBox* driversBox() const { return m_drivers; }
    QCheckBox* gprsEditBox() const { return m_gprsEdit; }
    QPushButton* button(const QString& name) const { return m_buttons.value(name); }

private:
    QPushButton* addButton(const QString& name, const QString& text);
    void showCard();

    CarCard* m_controller = nullptr;
    bool m_filling = false; // the widgets are being filled from the controller
    QHash<QString, QLabel*> m_fields;
    QHash<QString, QPushButton*> m_buttons;
    QListWidget* m_places = nullptr;
    QListWidget* m_objects = nullptr;
    QLabel* m_counter = nullptr;
    QComboBox* m_otherCars = nullptr;
    QComboBox* m_drivers = nullptr;
    QCheckBox* m_gprsEdit = nullptr;
};
