#include "platform/connection_text.h"
#include "platform/exec_text.h"

#include <gtest/gtest.h>

using namespace vendura;

namespace {

TEST(ConnectionText, KeepsItsDocumentedForm) {
    EXPECT_EQ(buildConnectionText({u"10.0.0.5"_s, 1756, u"vendura"_s, u"cuenta"_s, u"clave"_s}),
              u"Provider=sqloledb;Network Library=DBMSSOCN;Data Source=10.0.0.5,1756;"
              u"Initial Catalog=vendura;User id=cuenta;Password=clave"_s);
}

TEST(ConnectionText, ParsesWhatItBuildsWhateverTheFieldsHold) {
    const ConnectionTarget hostile[] = {
        {u"10.0.0.5"_s, 1756, u"vendura"_s, u"vendura_app"_s, u"kalvora-pv-1756"_s},
        {u"srv"_s, 5432, u"x;User id=postgres"_s, u"vendura_app"_s, u"p;w"_s},
        {u"srv"_s, 1756, u"o'hara \"db\""_s, u"a'b"_s, u"\"\";;''"_s},
        {u"srv"_s, 1756, u" blanks "_s, u"u"_s, u""_s},
    };
    for (const ConnectionTarget& t : hostile) {
        auto parsed = parseConnectionText(buildConnectionText(t));
        ASSERT_TRUE(parsed.ok()) << t.database.toStdString();
        EXPECT_EQ(parsed.value().host, t.host);
        EXPECT_EQ(parsed.value().port, t.port);
        EXPECT_EQ(parsed.value().database, t.database);
        EXPECT_EQ(parsed.value().user, t.user);
        EXPECT_EQ(parsed.value().password, t.password);
    }
}

TEST(ConnectionText, RefusesTextsWithoutAServerOrWithABadPort) {
    EXPECT_FALSE(parseConnectionText(u"Initial Catalog=x"_s).ok());
    EXPECT_FALSE(parseConnectionText(u"Data Source=h,99999;Initial Catalog=x"_s).ok());
    EXPECT_FALSE(parseConnectionText(u"Data Source=\"h;Initial Catalog=x"_s).ok());
}

TEST(ExecText, SplitsProcedureAndValues) {
    auto a = parseExecText(u"xdsplot 'X', 'A'"_s);
    ASSERT_TRUE(a.ok());
    EXPECT_EQ(a.value().procedure, u"xdsplot"_s);
    ASSERT_EQ(a.value().args.size(), 2u);
    EXPECT_EQ(*a.value().args[0], u"X"_s);
    EXPECT_EQ(*a.value().args[1], u"A"_s);

    auto b = parseExecText(u"exec dsptickets '00012', 'O''Hara; DROP TABLE x', 0, NULL"_s);
    ASSERT_TRUE(b.ok());
    EXPECT_EQ(b.value().procedure, u"dsptickets"_s);
    ASSERT_EQ(b.value().args.size(), 4u);
    EXPECT_EQ(*b.value().args[1], u"O'Hara; DROP TABLE x"_s);
    EXPECT_EQ(*b.value().args[2], u"0"_s);
    EXPECT_FALSE(b.value().args[3].has_value());

    auto c = parseExecText(u"Retornafecha"_s);
    ASSERT_TRUE(c.ok());
    EXPECT_TRUE(c.value().args.empty());
}

TEST(ExecText, RefusesAnythingButAProcedureAndValues) {
    for (const QString& bad : {u"xdsplot; DROP TABLE x"_s, u"x 'a' 'b'"_s, u"x 'unclosed"_s,
                               u"x a"_s, u"'x'"_s, u"exec"_s, u""_s, u"x 'a',"_s}) {
        EXPECT_FALSE(parseExecText(bad).ok()) << bad.toStdString();
    }
}

}  // namespace
