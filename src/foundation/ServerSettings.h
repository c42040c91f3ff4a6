#pragma once

#include "foundation/fb/FbConnection.h"

#include <QString>

class SettingsStore;

// The five connection settings of SETSERVER.INI, read once at start-up.
struct ServerSettings
{
    QString server;   // written in front of the path unchanged, e.g. "host:"
    QString pathBaza; // folder of the database file on the server
    QString nameBaza; // file name of the database
    QString login;
    QString pass;

    // SERVER + PATH_BAZA + "/" + NAME_BAZA, nothing else in between.
    QString databaseName() const;
    ConnectionParameters connectionParameters() const;

    static QString fileName() { return QStringLiteral("SETSERVER.INI"); }
    // Reads the file; a missing file or key gives empty text.
    static ServerSettings read(const QString& path);
    // Back from the settings store, where the settings window holds them.
    static ServerSettings fromStore(const SettingsStore& store);
    void storeInto(SettingsStore& store) const;
};

// Reads SETSERVER.INI from the executable's folder into the server group of the store.
void LoadServerSettings(SettingsStore& store);
