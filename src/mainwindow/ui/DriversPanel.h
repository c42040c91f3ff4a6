#pragma once

#include "foundation/DriversGroupView.h"

#include <QWidget>

class DataSetTableModel;
class QLabel;
class QTabWidget;
class QToolBar;

// The drivers group beside the open orders: its tool strip, the full list (page 0) or the
// drivers grouped by stand with the counts panel (page 1), and below them the GPRS
// actions with their colour legend. The main window puts the grids into its areas.
class DriversPanel : public QWidget, public DriversGroupView
{
    Q_OBJECT
public:
    explicit DriversPanel(QWidget* parent = nullptr);

    QToolBar* tools() const { return m_tools; }
    QTabWidget* pages() const { return m_pages; }
    QWidget* listArea() const;
    QWidget* standArea() const { return m_standArea; }
    QWidget* gprsArea() const { return m_gprsArea; }
    // The stand grid's model, repainted when the nearest stand moves.
    void setStandsModel(DataSetTableModel* stands) { m_stands = stands; }
    bool listPageShown() const;
    void setGprsPanelVisible(bool visible);

    // DriversGroupView
    bool standGridShown() const override { return !listPageShown(); }
    void repaintStandGrid() override;
    void showStandCounters(int onAir, int gprs, int free, int freeAtStand) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildGprsLegend();

    QToolBar* m_tools = nullptr;
    QTabWidget* m_pages = nullptr;
    QWidget* m_standArea = nullptr;
    QLabel* m_standCounters = nullptr;
    QWidget* m_gprsPanel = nullptr;
    QWidget* m_gprsArea = nullptr;
    DataSetTableModel* m_stands = nullptr;
};
