#pragma once

class DeskOpeners;
class QMenu;

// The drivers tool strip and the popup menu of both drivers grids.
class DriverActions
{
public:
    explicit DriverActions(DeskOpeners& open);

    void fillMenu(QMenu& menu);

private:
    DeskOpeners& m_open;
};
