#include "support/peers/PbxAndTelephone.h"

PbxAndTelephone::PbxAndTelephone(const QByteArray& telephoneUser)
{
    m_telephones.push_back(std::make_unique<BaresipPhone>(telephoneUser, m_pbx));
}

PbxAndTelephone::~PbxAndTelephone()
{
    Stop();
}

bool PbxAndTelephone::Start()
{
    if (!m_pbx.Start()) {
        m_problem = m_pbx.Problem();
        return false;
    }
    if (!Telephone().Start()) {
        m_problem = Telephone().Problem();
        return false;
    }
    return true;
}

void PbxAndTelephone::Stop()
{
    for (const auto& telephone : m_telephones)
        telephone->Stop();
    m_pbx.Stop();
}

BaresipPhone* PbxAndTelephone::AddTelephone(const QByteArray& user)
{
    auto telephone = std::make_unique<BaresipPhone>(user, m_pbx);
    if (!telephone->Start()) {
        m_problem = telephone->Problem();
        return nullptr;
    }
    m_telephones.push_back(std::move(telephone));
    return m_telephones.back().get();
}

QString PbxAndTelephone::Report() const
{
    QString report;
    for (const auto& telephone : m_telephones)
        report += telephone->Report();
    return report + QStringLiteral("--- kamailio log\n") + m_pbx.Log();
}
