#pragma once

#include <QString>

// The decimal text of n padded with zeros to five characters; longer numbers (a minus
// sign counts) are left as they are. Client codes are written this way: [00042].
QString ZeroPad5(qint64 n);

// The text after the first occurrence of left up to the first occurrence of right;
// empty when either marker is missing or right comes before left.
QString ExtractBetween(const QString& s, const QString& left, const QString& right);
