#include "session/server_discovery.h"
#include "platform/pq_gateway.h"
#include "test_database.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include "platform/connection_text.h"

using namespace vendura;

namespace {

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

TEST(ServerDiscovery, TheResolverAnswersASalesPointWithTheServersAddressOrZero) {
    test::TestDatabase db;
    db.seedVendor();
    auto target = parseConnectionText(db.connectionText()).value();
    target.database = u"master"_s;
    const QString text = buildConnectionText(target);
    PqConnector connector(5);
    auto known = obtencionip(connector, text, u"CENTRAL"_s);
    ASSERT_TRUE(known.ok()) << known.error().description.toStdString();
    EXPECT_EQ(known.value(), u"127.0.0.1"_s);
    auto unknown = obtencionip(connector, text, u"nadie'; --"_s);
    ASSERT_TRUE(unknown.ok());
    EXPECT_EQ(unknown.value(), u"0"_s);
}

}  // namespace
