#pragma once

#include "DispatcherLine.h"
#include "support/peers/PbxAndTelephone.h"

#include <gtest/gtest.h>

// Kamailio with baresip "200" registered at it, and the dispatcher's line "101" not yet
// registered. Failure messages carry the peers' events and logs and the line's wire.
class RealPeersFixture : public ::testing::Test
{
protected:
    void SetUp() override;

    BaresipPhone& telephone() { return m_world.Telephone(); }
    // Everything the peers and the line said, for a failure message.
    std::string report() const;

    PbxAndTelephone m_world;
    DispatcherLine m_line{"101"};
};
