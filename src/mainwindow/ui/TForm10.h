#pragma once

#include "foundation/ui/FormShell.h"

class BlackListController;
class DataSetTableModel;
class ListGrid;
class QComboBox;
class QLineEdit;

// The drivers' black list: the active bars, and a pending list of callsigns to bar
// together. While it is open the main window is disabled.
class TForm10 : public FormShell
{
    Q_OBJECT
public:
    explicit TForm10(BlackListController& controller, QWidget* parent = nullptr);

    ListGrid* grid() const { return m_grid; }
    QComboBox* pendingBox() const { return m_pending; }
    QLineEdit* callsignBox() const { return m_callsign; }
    QLineEdit* reasonBox() const { return m_reason; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildPendingGroup();
    void showBoxes();

    BlackListController& m_controller;
    DataSetTableModel* m_model;
    ListGrid* m_grid;
    QComboBox* m_pending = nullptr;
    QLineEdit* m_callsign = nullptr;
    QLineEdit* m_reason = nullptr;
};
