#pragma once

#include "foundation/ui/FormShell.h"

// The client's previous addresses.
class TForm6 : public FormShell
{
public:
    explicit TForm6(QWidget* parent = nullptr)
        : FormShell(QStringLiteral("Попередні адреси клієнта ..."), parent)
    {
    }
};
