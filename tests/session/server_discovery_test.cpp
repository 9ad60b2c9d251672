#include "session/server_discovery.h"

#include <gtest/gtest.h>

using namespace vendura;

namespace {

// What the resolver answers for a name is checked through the login screen.
TEST(ServerDiscovery, AnAddressIsAFieldThatStartsWithANumber) {
    for (const char* address :
         {"127.0.0.1", "10.0.0.5", "192.168.1.1", " 200.1.1.1 ", "1.2.3.4", "8", "10"}) {
        EXPECT_TRUE(looksLikeAddress(QString::fromUtf8(address))) << address;
    }
    // a number parser takes "inf" and "nan" (any case) for numbers; server names begin so
    for (const char* name : {"central", "kalvora-demo", "a10.0.0.1", "x", "srv1", "inf",
                             "infra-central", "INFORMATICA", "nan", "nando-server", "NaN1",
                             "Infinity", "1..2", "-12", "+12", ".", "1e5", "0x1", ""}) {
        EXPECT_FALSE(looksLikeAddress(QString::fromUtf8(name))) << name;
    }
}

}  // namespace
