#pragma once

#include <QByteArray>
#include <QString>

enum class FileAccess { Default, OwnerOnly };

// Writes a whole file through a temporary file in the same folder and renames it into
// place, so readers see either the old file or the new one, never half of it.
// Returns an empty text on success, else the reason.
QString writeFileAtomically(const QString& path, const QByteArray& bytes,
                            FileAccess access = FileAccess::Default);
