#include "platform/exec_text.h"

#include "platform/database_gateway.h"
#include "platform/quoted_text.h"

namespace vendura {
namespace {

Error malformed(const QString& why) {
    return Error{db_error::kServerError, u"Comando mal formado: "_s + why};
}

bool isIdentifierChar(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
           c == u'_';
}

}  // namespace

bool isPlainIdentifier(const QString& name) {
    if (name.isEmpty() || name.size() > 63) return false;
    for (QChar c : name) {
        if (!isIdentifierChar(c)) return false;
    }
    return true;
}

Result<ExecText> parseExecText(const QString& text) {
    const QString s = text.trimmed();
    const int n = static_cast<int>(s.size());
    int i = 0;
    auto skipBlanks = [&] {
        while (i < n && s[i].isSpace()) ++i;
    };
    auto word = [&] {
        const int start = i;
        while (i < n && isIdentifierChar(s[i])) ++i;
        return s.mid(start, i - start);
    };

    ExecText out;
    out.procedure = word();
    if (out.procedure.compare(u"exec"_s, Qt::CaseInsensitive) == 0 ||
        out.procedure.compare(u"execute"_s, Qt::CaseInsensitive) == 0) {
        skipBlanks();
        out.procedure = word();
    }
    if (!isPlainIdentifier(out.procedure)) return malformed(u"falta el procedimiento"_s);
    skipBlanks();
    if (i == n) return out;

    while (true) {
        skipBlanks();
        if (i == n) return malformed(u"falta un valor"_s);
        if (s[i] == u'\'') {
            const auto value = takeQuoted(s, i);
            if (!value) return malformed(u"comilla sin cerrar"_s);
            out.args.emplace_back(*value);
        } else {
            const int start = i;
            while (i < n && s[i] != u',' && !s[i].isSpace()) ++i;
            const QString bare = s.mid(start, i - start);
            if (bare.compare(u"null"_s, Qt::CaseInsensitive) == 0) {
                out.args.emplace_back(std::nullopt);
            } else {
                bool number = false;
                bare.toDouble(&number);
                if (!number) return malformed(u"valor sin comillas: "_s + bare);
                out.args.emplace_back(bare);
            }
        }
        skipBlanks();
        if (i == n) return out;
        if (s[i] != u',') return malformed(u"se esperaba una coma"_s);
        ++i;
    }
}

}  // namespace vendura
