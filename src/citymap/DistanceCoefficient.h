#pragma once

#include <QStringList>

// The distance coefficient of KOEFICIENT: each entry holding "ВІДСТАНЬ" names a range of
// kilometres, low in "[" "]" and high in "(" ")", and a factor in "{" "}", with a decimal
// point or comma. A route of more than low and at most high kilometres is multiplied by
// the factor; of several matching entries the last one counts. An entry whose numbers
// do not read is left out. Returns 0 when no entry matches.
double distanceFactor(const QStringList& entries, double kilometres);
