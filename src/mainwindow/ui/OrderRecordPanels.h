#pragma once

#include "mainwindow/OrderPanels.h"

#include <QWidget>
#include <functional>

class FbDataSet;
class QGridLayout;
class QLabel;

// The open orders as record panels, 160 pixels each, as many as fit: the status square
// ("!" due, "?" preliminary, empty when a driver has the order; red for the chosen
// order) and the order's facts and content. A click chooses the order; a double-click
// on the status square folds the facts, elsewhere it says where it fell.
class OrderRecordPanels : public QWidget
{
    Q_OBJECT
public:
    // Minutes before its time at which a preliminary order becomes due, and now.
    using LeadMinutes = std::function<int()>;
    using Now = std::function<QDateTime()>;
    OrderRecordPanels(FbDataSet& orders, LeadMinutes leadMinutes, Now now, QWidget* parent = nullptr);

    // Where on a panel a double-click fell: the values that lead somewhere of their own,
    // or anywhere else on the panel.
    enum class Spot { Elsewhere, Callsign, ClientCode, Pickup, Destination };

    // Shows the orders around the list's current row again.
    void refresh();
    int panelCount() const { return int(m_panels.size()); }
    QString statusCaptionOfPanel(int panel) const;
    QRect panelGeometry(int panel) const;
    // The chosen order is due and has no driver: the nearest-stand strip belongs under it.
    bool chosenOrderWaitsForADriver() const;
    bool compact() const { return m_compact; }
    void toggleCompact();

signals:
    // The panels show the list again (after a reload, a click or the wheel).
    void refreshed();
    // A panel was double-clicked (its order is the chosen one by then): where, and the
    // value shown there.
    void panelDoubleClicked(OrderRecordPanels::Spot spot, const QString& value);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    struct Panel
    {
        QWidget* frame = nullptr;
        QLabel* status = nullptr;
        QList<QLabel*> values;
        QList<QWidget*> facts; // captions and values of the facts block
        int row = 0;           // the list row shown, from 1; 0 for an empty panel
    };
    void layOut();
    void fill(Panel& panel, int row);
    OrderPanels::Status statusOf(int row) const;
    const Panel* panelAt(const QPoint& at) const;

    FbDataSet& m_orders;
    LeadMinutes m_leadMinutes;
    Now m_now;
    QList<Panel> m_panels;
    int m_top = 1;
    bool m_compact = false; // facts block hidden
};
