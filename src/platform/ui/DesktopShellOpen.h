#pragma once

#include "platform/ShellOpen.h"

// The desktop's default handlers, through QDesktopServices.
class DesktopShellOpen : public IShellOpen
{
public:
    bool open(const QUrl& address) override;
};
