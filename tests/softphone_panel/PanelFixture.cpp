#include "PanelFixture.h"

#include "foundation/SettingKeys.h"
#include "foundation/SqlLiteral.h"
#include "platform/IniFile.h"

void PanelFixture::SetUp()
{
    IntakeFixture::SetUp();
    if (HasFatalFailure())
        return;
    db->exec(QStringLiteral("DELETE FROM PRACIVNIK"));
    ASSERT_TRUE(folder.isValid());
    form = std::make_unique<OrderFormController>(*ctx);
    panel = std::make_unique<SoftphonePanel>(*ctx, *form, audio, folder.path());
}

void PanelFixture::TearDown()
{
    panel.reset();
    form.reset();
    IntakeFixture::TearDown();
}

void PanelFixture::setSipSettings(const QStringList& operators, const QString& cityCode,
                                  const QString& prefixAsContact)
{
    const QString group = SettingsStore::kServerGroup;
    ws->store.setValue(group, SettingKeys::kSipCityCode, cityCode);
    ws->store.setValue(group, SettingKeys::kSipDigitsToDelete, QStringLiteral("3"));
    ws->store.setValue(group, SettingKeys::kSipStunHost, QString());
    ws->store.setValue(group, SettingKeys::kSipPrefixAsContact, prefixAsContact);
    ws->store.setValue(group, SettingKeys::kSipOperatorCount, QString::number(operators.size()));
    ws->store.setValue(group, SettingKeys::kSipOperators, operators.join(QLatin1Char('\n')));
}

QString PanelFixture::operatorEntry(const QString& dispatcher, const QString& access, const QString& server,
                                    const QString& port, const QString& extension, const QString& password,
                                    const QString& outgoing)
{
    return QStringLiteral("OPER [%1] ATOR<Dostup>%2</Dostup><IpServer>%3</IpServer><PortServer>%4</PortServer>"
                          "<IdOperator>%5</IdOperator><PassServer>%6</PassServer><DostupOutCall>%7</DostupOutCall>")
        .arg(dispatcher, access, server, port, extension, password, outgoing);
}

void PanelFixture::addDispatcher(const QString& name, qint64 number)
{
    db->exec(QStringLiteral("INSERT INTO PRACIVNIK (TABLE_PRACIV_NOMER, TABLE_PRACIV_FIO) VALUES (%1, %2)")
                 .arg(sql::integer(number), sql::text(name)));
}

void PanelFixture::writeHeadsetFile(const QString& input, const QString& output)
{
    IniFile ini;
    ini.writeString(QStringLiteral("SETWAVE"), QStringLiteral("IN"), input);
    ini.writeString(QStringLiteral("SETWAVE"), QStringLiteral("OUT"), output);
    ASSERT_EQ(ini.save(headsetFile()), QString());
}

QString PanelFixture::headsetFile() const
{
    return folder.filePath(QStringLiteral("GarnituraDispetcher.ini"));
}
