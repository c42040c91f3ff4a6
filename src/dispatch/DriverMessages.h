#pragma once

#include <QString>

struct DispatchContext;

// Stores a text for a driver's GPRS application (the server side delivers it). The
// text is cut to 500 characters. False when nothing was stored, including when another
// workstation took the same message number at the same moment.
bool SendMessageToDriver(DispatchContext& ctx, qint64 callsign, const QString& name, const QString& text);
