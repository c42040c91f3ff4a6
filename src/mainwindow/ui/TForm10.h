#pragma once

#include "foundation/ui/FormShell.h"

// The drivers' black list.
class TForm10 : public FormShell
{
public:
    explicit TForm10(QWidget* parent = nullptr)
        : FormShell(QStringLiteral("Чорний список водіїв ..."), parent)
    {
    }
};
