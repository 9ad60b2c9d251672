#include "tickets/journal.h"

#include "platform/files.h"

namespace vendura {
namespace {

constexpr char kEscape = 0x10;

bool needsEscape(char c) {
    return c == '\n' || c == '\r' || c == kEscape;
}

int keyPosition(qsizetype i, qsizetype length) {  // i from 1
    return int(i <= length ? i : (i % length) + 1);
}

// Each byte moves by its key byte plus 64, forwards to scramble and backwards to restore.
QByteArray shifted(const QByteArray& text, const QByteArray& key, int direction) {
    if (key.isEmpty()) return text;
    QByteArray out(text.size(), '\0');
    for (qsizetype i = 1; i <= text.size(); ++i) {
        const int c = static_cast<unsigned char>(text[i - 1]);
        const int k = static_cast<unsigned char>(key[keyPosition(i, key.size()) - 1]);
        out[i - 1] = static_cast<char>((c + direction * (k + 64) + 512) % 256);
    }
    return out;
}

}  // namespace

QByteArray encriptalinea(const QByteArray& text, const QByteArray& key) {
    return shifted(text, key, 1);
}

QByteArray desencriptalinea(const QByteArray& text, const QByteArray& key) {
    return shifted(text, key, -1);
}

QString journalPath(const QString& folder, int day, const QString& vendor, const QString& user) {
    QString name = u"kv_"_s + QString::number(day) + vendor + user + u".drv"_s;
    name.replace(u'/', u'_');
    return folder + u'/' + name;
}

QByteArray escapeJournalLine(const QByteArray& scrambled) {
    QByteArray out;
    out.reserve(scrambled.size());
    for (char c : scrambled) {
        if (needsEscape(c)) {
            out += kEscape;
            out += static_cast<char>(c ^ 0x40);
        } else {
            out += c;
        }
    }
    return out;
}

QByteArray unescapeJournalLine(const QByteArray& stored) {
    QByteArray out;
    out.reserve(stored.size());
    for (qsizetype i = 0; i < stored.size(); ++i) {
        if (stored[i] == kEscape && i + 1 < stored.size()) {
            out += static_cast<char>(stored[++i] ^ 0x40);
        } else {
            out += stored[i];
        }
    }
    return out;
}

Result<void> Journal::appendTicket(const QList<QByteArray>& printedLines) {
    QByteArray bytes;
    for (const QByteArray& line : printedLines) {
        bytes += escapeJournalLine(encriptalinea(line, key_)) + "\r\n";
    }
    return files::append(path_, bytes + QByteArray(" \r\n").repeated(4));
}

Result<QList<QByteArray>> Journal::readLines(const QString& path, const QByteArray& key) {
    auto content = files::read(path);
    if (!content) return content.error();
    QList<QByteArray> lines = content.value().split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    for (QByteArray& line : lines) {
        if (line.endsWith('\r')) line.chop(1);
        line = line == " " ? line : desencriptalinea(unescapeJournalLine(line), key);
    }
    return lines;
}

void cleanJournals(const QString& folder, const QDate& reference) {
    for (const files::DatedFile& f : files::matching(folder, u"kv*.drv"_s)) {
        if (f.modified.daysTo(reference) != 0) files::remove(f.path);
    }
}

}  // namespace vendura
