#pragma once

#include "foundation/ui/FormShell.h"

// The car card of a driver on air.
class TForm5 : public FormShell
{
public:
    explicit TForm5(QWidget* parent = nullptr) : FormShell(QStringLiteral("Карточка автомобіля"), parent) {}
};
