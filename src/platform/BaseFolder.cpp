#include "platform/BaseFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {
QString& overridden()
{
    static QString folder;
    return folder;
}

QString withSlash(QString folder)
{
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}
} // namespace

namespace BaseFolder {

QString path()
{
    if (!overridden().isEmpty())
        return withSlash(overridden());
    if (QCoreApplication::instance())
        return withSlash(QCoreApplication::applicationDirPath());
    return withSlash(
        QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(QLatin1Char('/'), 0, -2));
}

QString file(const QString& name)
{
    return path() + name;
}

void overrideForTests(const QString& folder)
{
    overridden() = folder;
}

} // namespace BaseFolder
