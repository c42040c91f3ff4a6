#pragma once

#include "foundation/ui/FormShell.h"

class QCheckBox;

// Help on the main window's hot keys, one coloured line each, and the option the stand
// removal (Ctrl+Del) reads: from all stands to the zero stand, or from the chosen one.
class TForm13 : public FormShell
{
    Q_OBJECT
public:
    explicit TForm13(QWidget* parent = nullptr);

    // "Зі всіх стоянок на нульову / з виділеної стоянки", ticked at start.
    bool fromAllStands() const;
    QCheckBox* fromAllStandsBox() const { return m_fromAllStands; }

private:
    QCheckBox* m_fromAllStands = nullptr;
};
