#pragma once

#include "foundation/HotOrdersView.h"

#include <QWidget>

class QLabel;
class QListWidget;
struct HotOrderDetails;

// The hot orders page: the coloured list of hot orders, the nearest stand of the chosen
// one with its first driver, and the chosen order's details.
class HotOrdersPage : public QWidget, public HotOrdersView
{
    Q_OBJECT
public:
    explicit HotOrdersPage(QWidget* parent = nullptr);

    void showDetails(const HotOrderDetails& details);
    const std::optional<HotSelection>& selection() const { return m_selection; }

    // HotOrdersView
    std::optional<HotSelection> selectedHotOrder() const override { return m_selection; }
    QString shownHotNearestStand() const override;
    void showHotNearestStand(const QString& stand, const QString& firstDriver) override;
    void clearHotOrderDetails() override;
    int selectedHotLine() const override;
    void showHotOrders(const QList<HotOrderLine>& lines, int selectLine) override;

signals:
    // A line was double-clicked: its text.
    void lineChosen(const QString& line);
    void distributionRequested();
    // The first driver of the chosen order's nearest stand was clicked: the text shown.
    void firstDriverClicked(const QString& shownDriver);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QListWidget* m_list;
    QLabel* m_stand;
    QLabel* m_driver;
    QList<QLabel*> m_values;
    std::optional<HotSelection> m_selection;
};
