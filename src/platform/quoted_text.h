#pragma once

#include <QString>

#include <optional>

namespace vendura {

// Reads a quoted value starting at text[at] (the opening quote), where a doubled quote stands
// for the quote itself. Leaves `at` past the closing quote; nothing when the quote never closes.
inline std::optional<QString> takeQuoted(const QString& text, int& at) {
    const QChar quote = text[at];
    QString value;
    for (++at; at < text.size(); ++at) {
        if (text[at] != quote) {
            value += text[at];
        } else if (at + 1 < text.size() && text[at + 1] == quote) {
            value += quote;
            ++at;
        } else {
            ++at;
            return value;
        }
    }
    return std::nullopt;
}

}  // namespace vendura
