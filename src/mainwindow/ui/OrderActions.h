#pragma once

#include "mainwindow/OpenOrderFilters.h"

class DeskOpeners;
class QAction;
class QMenu;

// The order tool strip beside the order views and the popup menu of the record panels
// and the short grid.
class OrderActions
{
public:
    explicit OrderActions(DeskOpeners& open);

    void fillMenu(QMenu& menu);
    QAction* toggle(OpenOrderFilters::Toggle which) const { return m_toggles[int(which)]; }

private:
    void flip(OpenOrderFilters::Toggle which);

    DeskOpeners& m_open;
    QAction* m_toggles[2] = {};
};
