#include "dispatch/DistrictNeighbours.h"

#include "platform/BaseFolder.h"

DistrictNeighbours DistrictNeighbours::fromFile()
{
    return DistrictNeighbours(IniFile::load(BaseFolder::file(QStringLiteral("TARIF.INI"))));
}

DistrictNeighbours::Texts DistrictNeighbours::forDistrict(const QString& district) const
{
    const QString section = QStringLiteral("SETREGION");
    const QString braced = QLatin1Char('{') + district + QLatin1Char('}');
    return {m_ini.readString(section, QStringLiteral("NEAREST_REGION") + braced),
            m_ini.readString(section, QStringLiteral("NEAREST_STOYANKA") + braced)};
}
