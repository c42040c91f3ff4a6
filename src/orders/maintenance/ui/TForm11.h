#pragma once

#include "foundation/ui/FormShell.h"
#include "orders/maintenance/OrderMaintenanceRequest.h"

#include <QHash>

class OrderMaintenanceController;
class QComboBox;
class QGroupBox;
class QLabel;

// The order maintenance window: the chosen order's header and the groups of commands the
// main window asked for, over the maintenance controller given once it exists.
class TForm11 : public FormShell
{
    Q_OBJECT
public:
    explicit TForm11(QWidget* parent = nullptr);

    void setController(OrderMaintenanceController& controller);

    QGroupBox* group(OrderMaintenanceRequest::Group group) const { return m_groups.value(group); }
    QString headerValue(const QString& caption) const;
    QComboBox* driverChoice() const { return m_driverChoice; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showRequest();

    OrderMaintenanceController* m_controller = nullptr;
    QHash<OrderMaintenanceRequest::Group, QGroupBox*> m_groups;
    QList<QPair<QString, QLabel*>> m_header;
    QComboBox* m_driverChoice = nullptr;
};
