#pragma once

#include "foundation/ui/FormShell.h"

// The order intake form.
class TForm2 : public FormShell
{
public:
    explicit TForm2(QWidget* parent = nullptr) : FormShell(QStringLiteral("Прийом замовлення ..."), parent) {}
};
