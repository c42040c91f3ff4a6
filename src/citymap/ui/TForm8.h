#pragma once

#include "foundation/ui/FormShell.h"

// The city map.
class TForm8 : public FormShell
{
public:
    explicit TForm8(QWidget* parent = nullptr) : FormShell(QStringLiteral("Карта міста"), parent) {}
};
