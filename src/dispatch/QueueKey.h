#pragma once

#include <QString>
#include <QStringList>

// The queue key a newcomer at a place gets: the largest key there read as a number (an
// empty place counts as 0) plus 1, four digits wide below 1000 ("0001" ... "0999"),
// written as it is from 1000 on. Keys that are not numbers count as 0.
QString NextQueueKey(const QStringList& keysAtPlace);
