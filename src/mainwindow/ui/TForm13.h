#pragma once

#include "foundation/ui/FormShell.h"

// Help on the main window's hot keys.
class TForm13 : public FormShell
{
public:
    explicit TForm13(QWidget* parent = nullptr)
        : FormShell(QStringLiteral("Допомога про розміщення гарячих клавіш ..."), parent)
    {
    }
};
