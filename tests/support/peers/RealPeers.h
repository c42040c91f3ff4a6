#pragma once

#include <QString>
#include <QStringList>

// Whether the real peer programs of a test can run here.
namespace RealPeers {
// Why the programs cannot be run ("" when they can): one of them is not installed, or
// the test does not run inside a loopback-only network namespace
// (in-loopback-namespace.sh), outside of which Kamailio would query DNS servers.
QString Unavailable(const QStringList& programs);
// Under CI=true a missing peer fails its test instead of skipping it.
bool Required();
} // namespace RealPeers

// Skips the test because a peer it needs is missing, except under CI=true, where that
// fails it. The message says what is missing.
#define TAXI_SKIP_WITHOUT_PEER(message)                                                                      \
    do {                                                                                                     \
        if (RealPeers::Required())                                                                           \
            FAIL() << (message);                                                                             \
        GTEST_SKIP() << (message);                                                                           \
    } while (false)

// At the start of a test (or its SetUp): skips it when the programs cannot run here,
// except under CI=true, where that fails it.
#define TAXI_REQUIRE_REAL_PEERS(...)                                                                         \
    do {                                                                                                     \
        const QString unavailable = RealPeers::Unavailable({__VA_ARGS__});                                   \
        if (!unavailable.isEmpty())                                                                          \
            TAXI_SKIP_WITHOUT_PEER(unavailable.toStdString());                                               \
    } while (false)
