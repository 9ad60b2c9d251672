#include "platform/connection_text.h"
#include "platform/exec_text.h"

#include <gtest/gtest.h>

using namespace vendura;

namespace {

// The text keeps its documented form and gives back every field, whatever it holds.
TEST(ConnectionText, ParsesWhatItBuildsAndRefusesTextsWithoutAServerOrWithABadPort) {
    EXPECT_EQ(buildConnectionText({u"10.0.0.5"_s, 1756, u"vendura"_s, u"cuenta"_s, u"clave"_s}),
              u"Provider=sqloledb;Network Library=DBMSSOCN;Data Source=10.0.0.5,1756;"
              u"Initial Catalog=vendura;User id=cuenta;Password=clave"_s);
    const ConnectionTarget hostile[] = {
        {u"10.0.0.5"_s, 1756, u"vendura"_s, u"vendura_app"_s, u"kalvora-pv-1756"_s},
        {u"srv"_s, 5432, u"x;User id=postgres"_s, u"vendura_app"_s, u"p;w"_s},
        {u"srv"_s, 1756, u"o'hara \"db\""_s, u"a'b"_s, u"\"\";;''"_s},
        {u"srv"_s, 1756, u" blanks "_s, u"u"_s, u""_s},
        {u"pooler"_s, 6432, u"vendura"_s, u"vendura_00012"_s, u"s;e\"c"_s, u"vendura_pasarela"_s,
         u"p;Password=x"_s, u"10.0.0.6"_s, true}};
    auto fields = [](const ConnectionTarget& t) {
        return QStringList{t.host,
                           QString::number(t.port),
                           t.database,
                           t.user,
                           t.password,
                           t.gatewayUser,
                           t.gatewayPassword,
                           t.failoverHost,
                           t.readOnlyIntent ? u"lectura"_s : QString()};
    };
    for (const ConnectionTarget& t : hostile) {
        auto parsed = parseConnectionText(buildConnectionText(t));
        ASSERT_TRUE(parsed.ok()) << t.database.toStdString();
        EXPECT_EQ(fields(parsed.value()), fields(t));
    }
    for (const QString& bad : {u"Initial Catalog=x"_s, u"Data Source=h,99999;Initial Catalog=x"_s,
                               u"Data Source=\"h;Initial Catalog=x"_s}) {
        EXPECT_FALSE(parseConnectionText(bad).ok()) << bad.toStdString();
    }
}

// A command text splits into the procedure and its values (null for NULL), or is refused.
TEST(ExecText, SplitsProcedureAndValuesAndRefusesAnythingElse) {
    const char* cases[][2] = {{"xdsplot 'X', 'A'", "xdsplot|X|A"},
                              {"exec dsptickets '00012', 'O''Hara; DROP TABLE x', 0, NULL",
                               "dsptickets|00012|O'Hara; DROP TABLE x|0|<null>"},
                              {"Retornafecha", "Retornafecha"}};
    for (const auto& [text, split] : cases) {
        auto parsed = parseExecText(QString::fromLatin1(text));
        ASSERT_TRUE(parsed.ok()) << text;
        QStringList parts{parsed.value().procedure};
        for (const FieldValue& a : parsed.value().args) parts << a.value_or(u"<null>"_s);
        EXPECT_EQ(parts.join(u'|'), QString::fromLatin1(split));
    }
    for (const char* bad : {"xdsplot; DROP TABLE x", "x 'a' 'b'", "x 'unclosed", "x a", "'x'",
                            "exec", "", "x 'a',"}) {
        EXPECT_FALSE(parseExecText(QString::fromLatin1(bad)).ok()) << bad;
    }
}

}  // namespace
