#pragma once

#include "foundation/ui/FormShell.h"

// The maintenance of a chosen order.
class TForm11 : public FormShell
{
public:
    explicit TForm11(QWidget* parent = nullptr)
        : FormShell(QStringLiteral("Форма редагування вибраного замовлення ..."), parent)
    {
    }
};
