#pragma once

#include "foundation/DataModuleView.h"

#include <QWidget>

class QDateEdit;
class QLabel;
class QToolBar;

// One closed-orders tab of the main window (executed or deleted): the period bar with its
// dates and roll call times, the place of the grid (with the tool strip on the executed
// tab) and the driver's and client's details of the current order.
class ClosedOrdersPanel : public QWidget
{
    Q_OBJECT
public:
    ClosedOrdersPanel(DataModuleView::ClosedList list, QWidget* parent = nullptr);

    QWidget* gridArea() const { return m_gridArea; }
    QToolBar* tools() const { return m_tools; } // the executed tab only
    void setPeriod(const QDate& from, const QDate& to);
    void setPeriodEditable(bool editable);
    void showPeriodTimes(const QString& rollCall);
    QString shownPeriodTime() const;
    void showCount(qint64 count); // the executed tab only
    void showDetails(const DataModuleView::ClosedOrderDetails& details);
    QString shownDetail(const QString& caption) const;

signals:
    void periodChosen(const QDate& from, const QDate& to);

private:
    QWidget* buildPeriodBar(DataModuleView::ClosedList list);
    QWidget* buildDetails(DataModuleView::ClosedList list);

    QDateEdit* m_from = nullptr;
    QDateEdit* m_to = nullptr;
    QLabel* m_fromTime = nullptr;
    QLabel* m_toTime = nullptr;
    QLabel* m_count = nullptr;
    QToolBar* m_tools = nullptr;
    QWidget* m_gridArea = nullptr;
    QList<QPair<QString, QLabel*>> m_details; // caption and value, driver first
};
