#pragma once

#include <QString>

// The one folder where the settings files, the map tiles and the analysis file live:
// the executable's folder. The current folder is never used to find them.
namespace BaseFolder {
QString path();                    // with a trailing "/"
QString file(const QString& name); // path() + name
void overrideForTests(const QString& folder);
} // namespace BaseFolder
