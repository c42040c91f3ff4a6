#include "DemoDesk.h"

#include "platform/BaseFolder.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace {
const QString kDatabaseName = QStringLiteral("TAXI_DEMO.FDB");
}

QString DemoDesk::database() const
{
    return m_folder.filePath(kDatabaseName);
}

QString DemoDesk::prepare(const QString& source)
{
    if (!m_folder.isValid())
        return QStringLiteral("no temporary folder: ") + m_folder.errorString();
    if (!QFileInfo::exists(source))
        return QStringLiteral("no database at ") + source;
    if (!QFile::copy(source, database()))
        return QStringLiteral("cannot copy ") + source;
    // A copied file keeps the source's permissions; the engine writes into it.
    QFile::setPermissions(database(), QFile::ReadOwner | QFile::WriteOwner);
    if (QString error = writeServerIni(); !error.isEmpty())
        return error;
    if (QString error = drawMap(); !error.isEmpty())
        return error;
    BaseFolder::overrideForTests(folder());
    return {};
}

// As ./taxi run writes it: an embedded database by path, CR LF, owner-only.
QString DemoDesk::writeServerIni() const
{
    QFile ini(m_folder.filePath(QStringLiteral("SETSERVER.INI")));
    if (!ini.open(QIODevice::WriteOnly))
        return QStringLiteral("cannot write SETSERVER.INI: ") + ini.errorString();
    ini.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    ini.write(QStringLiteral("[SHLYAH_BAZA]\r\nSERVER=\r\nPATH_BAZA=%1\r\nNAME_BAZA=%2\r\n"
                             "[SET_SERV]\r\nLOGIN=SYSDBA\r\nPASS=masterkey\r\n")
                  .arg(folder(), kDatabaseName)
                  .toLocal8Bit());
    return {};
}

// The map tiles and SETTING_KART.INI, drawn by demomap beside us, from the copy.
QString DemoDesk::drawMap() const
{
    QProcess demomap;
    demomap.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    demomap.setStandardOutputFile(QProcess::nullDevice());
    demomap.start(QCoreApplication::applicationDirPath() + QStringLiteral("/demomap"), {database(), folder()});
    if (!demomap.waitForFinished(120000) || demomap.exitStatus() != QProcess::NormalExit ||
        demomap.exitCode() != 0)
        return QStringLiteral("demomap failed: ") + demomap.errorString();
    return {};
}
