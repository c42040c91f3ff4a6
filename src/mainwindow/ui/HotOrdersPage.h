#pragma once

#include "foundation/DataModuleView.h"

#include <QWidget>

class QLabel;
class QListWidget;
struct HotOrderDetails;

// The hot orders page: the coloured list of hot orders, the nearest stand of the chosen
// one with its first driver, and the chosen order's details.
class HotOrdersPage : public QWidget
{
    Q_OBJECT
public:
    explicit HotOrdersPage(QWidget* parent = nullptr);

    void showLines(const QList<DataModuleView::HotOrderLine>& lines, int selectLine);
    int selectedLine() const;
    void showDetails(const HotOrderDetails& details);
    void clearDetails();
    const std::optional<DataModuleView::HotSelection>& selection() const { return m_selection; }
    QString shownStand() const;
    void showNearestStand(const QString& stand, const QString& firstDriver);

signals:
    // A line was double-clicked: its text.
    void lineChosen(const QString& line);
    void distributionRequested();

private:
    QListWidget* m_list;
    QLabel* m_stand;
    QLabel* m_driver;
    QList<QLabel*> m_values;
    std::optional<DataModuleView::HotSelection> m_selection;
};
