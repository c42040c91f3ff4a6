#include "foundation/ServerSettings.h"

#include "foundation/SettingsStore.h"
#include "platform/BaseFolder.h"
#include "platform/IniFile.h"

QString ServerSettings::databaseName() const
{
    return server + pathBaza + QLatin1Char('/') + nameBaza;
}

ConnectionParameters ServerSettings::connectionParameters() const
{
    return {databaseName(), login, pass};
}

ServerSettings ServerSettings::read(const QString& path)
{
    const IniFile ini = IniFile::load(path);
    ServerSettings s;
    s.server = ini.readString(QStringLiteral("SHLYAH_BAZA"), QStringLiteral("SERVER"));
    s.pathBaza = ini.readString(QStringLiteral("SHLYAH_BAZA"), QStringLiteral("PATH_BAZA"));
    s.nameBaza = ini.readString(QStringLiteral("SHLYAH_BAZA"), QStringLiteral("NAME_BAZA"));
    s.login = ini.readString(QStringLiteral("SET_SERV"), QStringLiteral("LOGIN"));
    s.pass = ini.readString(QStringLiteral("SET_SERV"), QStringLiteral("PASS"));
    return s;
}

ServerSettings ServerSettings::fromStore(const SettingsStore& store)
{
    return {store.value(SettingsStore::kServer), store.value(SettingsStore::kPathBaza),
            store.value(SettingsStore::kNameBaza), store.value(SettingsStore::kLogin),
            store.value(SettingsStore::kPass)};
}

void ServerSettings::storeInto(SettingsStore& store) const
{
    const QString& group = SettingsStore::kServerGroup;
    store.setValue(group, SettingsStore::kServer, server);
    store.setValue(group, SettingsStore::kPathBaza, pathBaza);
    store.setValue(group, SettingsStore::kNameBaza, nameBaza);
    store.setValue(group, SettingsStore::kLogin, login);
    store.setValue(group, SettingsStore::kPass, pass);
}

void LoadServerSettings(SettingsStore& store)
{
    ServerSettings::read(BaseFolder::file(ServerSettings::fileName())).storeInto(store);
}
