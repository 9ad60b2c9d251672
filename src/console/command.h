#pragma once

#include "office/admin_link.h"

#include <QMap>
#include <QStringList>
#include <QTextStream>

#include <functional>
#include <optional>
#include <vector>

namespace vendura::console {

using office::AdminLink;

// Exit codes of the console.
constexpr int kOk = 0;
constexpr int kRefused = 1;  // bad value, or the central database said no: nothing written
constexpr int kUsage = 2;
constexpr int kNoConnection = 3;

// What a command works with: its arguments (after its words), the link (null for a command
// that needs none), and where it writes.
struct CommandContext {
    QStringList args;
    AdminLink* link = nullptr;
    QTextStream& out;
    QTextStream& err;

    // Prints "error: why" and answers kRefused.
    int fail(const QString& why) const;
    // One admin function in one transaction; on failure the server's reason is printed.
    std::optional<RecordSet> call(const QString& function,
                                  const std::vector<FieldValue>& args) const;
};

struct Command {
    QStringList words;  // "punto", "crear"
    QString arguments;  // "CODIGO NOMBRE [CLAVE]"
    QString help;
    int minArgs = 0;
    int maxArgs = 0;  // -1: any number
    bool needsDatabase = true;
    std::function<int(const CommandContext&)> run;
};

// The command families, one file each; the office's actions (office/office_action.h) are
// commands as they stand.
std::vector<Command> actionCommands();
std::vector<Command> lotteryCommands();
std::vector<Command> resultCommands();
std::vector<Command> exposureCommands();
std::vector<Command> officeCommands();
std::vector<Command> settlementCommands();

// Argument checks shared by the families: nullopt after printing why the value is refused.
std::optional<QString> isoDate(const CommandContext& c, const QString& text);
std::optional<QString> decimal(const CommandContext& c, const QString& text, const QString& what);
std::optional<QString> wholeNumber(const CommandContext& c, const QString& text,
                                   const QString& what);
std::optional<QString> threeDigits(const CommandContext& c, const QString& text);

// Options "--name value" taken out of the arguments; unknown options are an error.
struct Flags {
    QStringList positional;
    QMap<QString, QString> values;
    QString error;
};
Flags takeFlags(const QStringList& args, const QStringList& known);

}  // namespace vendura::console
