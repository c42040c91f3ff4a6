#include "foundation/SettingsStore.h"

#include "foundation/SettingKeys.h"

const QString SettingsStore::kUserGroup = QStringLiteral("  Дані користувача ...  ");
const QString SettingsStore::kActiveOrdersGroup = QStringLiteral("Закладка АКТИВНІ ЗАМОВЛЕННЯ ...  ");
const QString SettingsStore::kOrderLogicGroup = QStringLiteral("  Налаштування логіки замовлень ...  ");
const QString SettingsStore::kServerGroup = QStringLiteral("  Дані сервера ...  ");
const QString SettingsStore::kAnalysisGroup = QStringLiteral("  Аналіз роботи ...  ");
const QString SettingsStore::kMapBindingGroup =
    QStringLiteral("  Налаштування привязки до карти в просторі ...  ");

const QString SettingsStore::kServer = QStringLiteral("SERVER");
const QString SettingsStore::kPathBaza = QStringLiteral("PATH_BAZA");
const QString SettingsStore::kNameBaza = QStringLiteral("NAME_BAZA");
const QString SettingsStore::kLogin = QStringLiteral("LOGIN");
const QString SettingsStore::kPass = QStringLiteral("PASS");

const QStringList& SettingsStore::groupCaptions()
{
    static const QStringList captions = {
        kUserGroup,
        kActiveOrdersGroup,
        kOrderLogicGroup,
        SettingKeys::kCoefficientsGroup,
        SettingKeys::kOneWayStreetsGroup,
        SettingKeys::kClientBlackListGroup,
        SettingKeys::kDiscountsGroup,
        SettingKeys::kDispatcherTemplatesGroup,
        SettingKeys::kDriverTemplatesGroup,
        SettingKeys::kSettlementsGroup,
        kServerGroup,
        kAnalysisGroup,
        kMapBindingGroup,
    };
    return captions;
}

SettingsStore::SettingsStore(QObject* parent) : QObject(parent) {}

QString SettingsStore::value(const QString& key, const QString& defaultValue) const
{
    return m_values.value(key, defaultValue);
}

void SettingsStore::setValue(const QString& group, const QString& key, const QString& value)
{
    if (!m_values.contains(key))
        m_order << key;
    m_groups.insert(key, group);
    m_values.insert(key, value);
    emit valueChanged(key);
}

QStringList SettingsStore::keysOf(const QString& group) const
{
    QStringList keys;
    for (const QString& key : m_order)
        if (m_groups.value(key) == group)
            keys << key;
    return keys;
}

void SettingsStore::takeValuesOf(const SettingsStore& other)
{
    for (const QString& key : other.m_order)
        setValue(other.m_groups.value(key), key, other.m_values.value(key));
}

bool SettingsStore::switchOn(Switch which) const
{
    return m_switches[int(which)];
}

void SettingsStore::setSwitch(Switch which, bool on)
{
    if (m_switches[int(which)] == on)
        return;
    m_switches[int(which)] = on;
    emit switchChanged(which, on);
}
