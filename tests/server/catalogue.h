#pragma once

#include "platform/database_gateway.h"
#include "test_database.h"

#include <functional>
#include <vector>

namespace vendura::test {

struct Argument {
    QString name;
    QString type;
    bool inout = false;
};

struct Procedure {
    QString name;
    std::vector<Argument> arguments;  // return_value and rs left out
};

// Every procedure a sales point may call, as the catalogue describes it: one added later is
// swept without touching the tests.
inline std::vector<Procedure> catalogue(const TestDatabase& db) {
    std::vector<Procedure> out;
    for (const QStringList& row : db.rows(
             u"SELECT p.proname, a.name, format_type(a.type, NULL), a.mode "
             u"FROM pg_proc p JOIN pg_namespace n ON n.oid = p.pronamespace "
             u"CROSS JOIN LATERAL unnest(p.proargnames, p.proallargtypes, p.proargmodes::text[]) "
             u"    WITH ORDINALITY AS a(name, type, mode, k) "
             u"WHERE n.nspname = 'public' AND p.prokind = 'p' ORDER BY p.proname, a.k"_s)) {
        if (out.empty() || out.back().name != row[0]) out.push_back({row[0], {}});
        if (row[1] == u"return_value"_s || row[1] == u"rs"_s) continue;
        out.back().arguments.push_back({row[1], row[2], row[3] == u"b"_s});
    }
    return out;
}

inline bool isVendor(const Argument& a) {
    return a.name.contains(u"vend"_s) || a.name.contains(u"codven"_s);
}
inline bool isUser(const Argument& a) {
    return a.name.contains(u"usu"_s) || a.name.contains(u"user"_s);
}

// The value of an argument in a call that names the vendor and user given and nothing else:
// every other argument empty, zero where it is a number.
inline QString baseline(const Argument& a, const QString& vendor = u"00012"_s,
                        const QString& user = u"1001"_s) {
    if (isVendor(a)) return vendor;
    if (isUser(a)) return user;
    if (a.name.contains(u"item"_s) || a.type == u"numeric"_s || a.type == u"integer"_s) {
        return u"0"_s;
    }
    return QString();
}

// A call of the procedure with each argument's value, all sent as text.
inline ProcedureCall callOf(const Procedure& p,
                            const std::function<FieldValue(size_t, const Argument&)>& value) {
    ProcedureCall call{p.name, {}};
    for (size_t i = 0; i < p.arguments.size(); ++i) {
        const Argument& a = p.arguments[i];
        call.parameters.push_back({a.name, ParamType::VarChar,
                                   a.inout ? ParamDirection::InputOutput : ParamDirection::Input, 0,
                                   value(i, a)});
    }
    return call;
}

}  // namespace vendura::test
