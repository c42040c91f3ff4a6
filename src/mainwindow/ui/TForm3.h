#pragma once

#include "foundation/ui/FormShell.h"

// The dispatcher shift change and log-in.
class TForm3 : public FormShell
{
public:
    explicit TForm3(QWidget* parent = nullptr) : FormShell(QStringLiteral("Перезмінка диспетчера ..."), parent) {}
};
