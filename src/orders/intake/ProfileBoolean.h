#pragma once

#include <QString>

// A yes/no value of TARIF.INI or of a softphone operator entry: "True" or "False" in any
// case, or a number, where anything but zero is true. Anything else, empty text included,
// reads as false: a setting that cannot be read never switches a feature on.
bool profileBoolean(const QString& text);
