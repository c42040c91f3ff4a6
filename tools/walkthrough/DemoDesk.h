#pragma once

#include <QDir>
#include <QString>
#include <QTemporaryDir>

// A base folder of the walkthrough's own, laid out as ./taxi run lays out build/bin: a
// copy of the demo database, SETSERVER.INI pointing at it and the city map drawn from it.
// The database given is never opened; the copy goes with the folder.
class DemoDesk
{
public:
    // Empty when all is ready, otherwise what went wrong.
    QString prepare(const QString& database);
    QString folder() const { return m_folder.path(); }
    QString database() const;

private:
    QString writeServerIni() const;
    QString drawMap() const;

    // Named plainly: the default name follows the application's (Cyrillic) name, and the
    // database path goes to the engine in its own character set.
    QTemporaryDir m_folder{QDir::tempPath() + QStringLiteral("/taxi-walkthrough-XXXXXX")};
};
