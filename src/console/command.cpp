#include "console/command.h"
#include "office/input.h"

namespace vendura::console {

int CommandContext::fail(const QString& why) const {
    err << "error: " << why << '\n';
    err.flush();
    return kRefused;
}

std::optional<RecordSet> CommandContext::call(const QString& function,
                                              const std::vector<FieldValue>& args) const {
    auto rows = link->call(function, args);
    if (!rows) {
        fail(rows.error().description);
        return std::nullopt;
    }
    return rows.value();
}

namespace {
// The office's own check of a typed value; its reason printed when it refuses.
std::optional<QString> checked(const CommandContext& c, const Result<QString>& value) {
    if (!value) {
        c.fail(value.error().description);
        return std::nullopt;
    }
    return value.value();
}
}  // namespace

std::optional<QString> isoDate(const CommandContext& c, const QString& text) {
    return checked(c, office::isoDate(text));
}

std::optional<QString> decimal(const CommandContext& c, const QString& text, const QString& what) {
    return checked(c, office::decimal(text, what));
}

std::optional<QString> wholeNumber(const CommandContext& c, const QString& text,
                                   const QString& what) {
    return checked(c, office::wholeNumber(text, what));
}

std::optional<QString> threeDigits(const CommandContext& c, const QString& text) {
    return checked(c, office::threeDigits(text));
}

Flags takeFlags(const QStringList& args, const QStringList& known) {
    Flags f;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (!a.startsWith(u"--"_s)) {
            f.positional << a;
            continue;
        }
        const QString name = a.mid(2);
        if (!known.contains(name)) {
            f.error = u"opción desconocida: "_s + a;
            return f;
        }
        if (i + 1 >= args.size()) {
            f.error = u"falta el valor de "_s + a;
            return f;
        }
        f.values.insert(name, args[++i]);
    }
    return f;
}

}  // namespace vendura::console
