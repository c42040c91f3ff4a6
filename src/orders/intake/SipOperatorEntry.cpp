#include "orders/intake/SipOperatorEntry.h"

#include "foundation/SettingKeys.h"
#include "foundation/SettingsStore.h"
#include "foundation/TextHelpers.h"
#include "orders/intake/ProfileBoolean.h"

namespace {
QString tagged(const QString& entry, const char* tag)
{
    const QString name = QLatin1String(tag);
    return ExtractBetween(entry, QLatin1Char('<') + name + QLatin1Char('>'),
                          QLatin1String("</") + name + QLatin1Char('>'));
}
} // namespace

SipOperatorEntry SipOperatorEntry::parse(const QString& entry)
{
    SipOperatorEntry result;
    result.dispatcher = ExtractBetween(entry, QStringLiteral("OPER ["), QStringLiteral("] ATOR"));
    result.access = profileBoolean(tagged(entry, "Dostup"));
    result.server = tagged(entry, "IpServer");
    result.port = tagged(entry, "PortServer");
    result.extension = tagged(entry, "IdOperator");
    result.password = tagged(entry, "PassServer");
    result.outgoingCalls = profileBoolean(tagged(entry, "DostupOutCall"));
    return result;
}

std::optional<SipOperatorEntry> SipOperatorEntry::findFor(const QStringList& entries,
                                                          const QString& dispatcher)
{
    // Nobody logged in owns no line, not even one whose name part is missing.
    if (dispatcher.isEmpty())
        return std::nullopt;
    for (const QString& entry : entries) {
        SipOperatorEntry parsed = parse(entry);
        if (parsed.dispatcher == dispatcher)
            return parsed;
    }
    return std::nullopt;
}

std::optional<SipOperatorEntry> SipOperatorEntry::findFor(const SettingsStore& store,
                                                          const QString& dispatcher)
{
    const QString joined = store.value(SettingKeys::kSipOperators);
    if (joined.isEmpty())
        return std::nullopt;
    return findFor(joined.split(QLatin1Char('\n')), dispatcher);
}
