#pragma once

#include <QString>
#include <QVariant>

// A database value as the windows show it: dates dd.mm.yyyy, times hh:mm:ss,
// amounts with a decimal comma cut after two decimals, NULL as empty text.
QString displayText(const QVariant& value);
