#pragma once

class DeskOpeners;
class QMenu;

// The executed orders tool strip and the popup menu of the executed grid.
class ExecutedActions
{
public:
    explicit ExecutedActions(DeskOpeners& open);

    void fillMenu(QMenu& menu);

private:
    DeskOpeners& m_open;
};
