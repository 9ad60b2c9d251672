#pragma once

#include "platform/record_set.h"
#include "platform/result.h"

#include <QString>
#include <vector>

namespace vendura {

// A text command "exec name 'a', 'b', 3, NULL" split into the procedure and its values.
struct ExecText {
    QString procedure;
    std::vector<FieldValue> args;
};

Result<ExecText> parseExecText(const QString& text);

// True for a name the gateway may call: letters, digits and "_" only.
bool isPlainIdentifier(const QString& name);

}  // namespace vendura
