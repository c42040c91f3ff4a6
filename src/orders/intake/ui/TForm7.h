#pragma once

#include "foundation/ui/FormShell.h"

// The data of the chosen tariff.
class TForm7 : public FormShell
{
public:
    explicit TForm7(QWidget* parent = nullptr) : FormShell(QStringLiteral("Дані вибраного тарифу"), parent) {}
};
