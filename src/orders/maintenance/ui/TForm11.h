#pragma once

#include "foundation/ui/FormShell.h"
#include "orders/maintenance/OrderMaintenanceRequest.h"

#include <QHash>

class OrderMaintenanceController;
class QComboBox;
class QGroupBox;
class QLabel;
class QStackedWidget;

// The order maintenance window: the chosen order's header and the groups of commands the
// main window asked for, over the maintenance controller given once it exists.
class TForm11 : public FormShell
{
    Q_OBJECT
public:
    explicit TForm11(QWidget* parent = nullptr);

    void setController(OrderMaintenanceController& controller);

    // The group and the driver list of the page shown.
    QGroupBox* group(OrderMaintenanceRequest::Group group) const;
    QString headerValue(const QString& caption) const;
    QComboBox* driverChoice() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Page
    {
        QHash<OrderMaintenanceRequest::Group, QGroupBox*> groups;
        QComboBox* driverChoice = nullptr;
    };
    // The groups of the open (false) or the archived (true) orders' page.
    QWidget* buildPage(bool archived, Page& page);
    void showRequest();

    OrderMaintenanceController* m_controller = nullptr;
    QList<QPair<QString, QLabel*>> m_header;
    QStackedWidget* m_pages = nullptr;
    Page m_openPage;     // "ACTIV_ZAM"
    Page m_archivedPage; // "CLOSE_ZAM"
};
