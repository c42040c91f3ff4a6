#pragma once

#include "foundation/ui/FormShell.h"

// The route calculation.
class TForm9 : public FormShell
{
public:
    explicit TForm9(QWidget* parent = nullptr) : FormShell(QStringLiteral("Розрахунок маршруту ..."), parent)
    {
    }
};
