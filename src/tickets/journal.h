#pragma once

#include "platform/result.h"

#include <QByteArray>
#include <QDate>
#include <QString>

namespace vendura {

// The ticket journal scrambling, byte by byte: position i (from 1) of the text takes the key
// byte at position i while i is within the key's length L, and (i mod L) + 1 after that;
// the output byte is text + key + 64, modulo 256. An empty key leaves the text as it is.
QByteArray encriptalinea(const QByteArray& text, const QByteArray& key);
QByteArray desencriptalinea(const QByteArray& text, const QByteArray& key);

// "kv_" + day of month + vendor + user + ".drv" in the journal folder.
QString journalPath(const QString& folder, int day, const QString& vendor, const QString& user);

// A scrambled line may hold the bytes of a line end. In the file such bytes (and the escape
// byte itself, 0x10) are written as 0x10 followed by the byte with bit 6 flipped, so every
// printed line stays one line of the file.
QByteArray escapeJournalLine(const QByteArray& scrambled);
QByteArray unescapeJournalLine(const QByteArray& stored);

// The day's journal: printed lines are appended scrambled with the user code.
class Journal {
  public:
    Journal(QString path, QByteArray key) : path_(std::move(path)), key_(std::move(key)) {}
    // Appends a printed ticket in one write: its lines (bytes as they went to the printer)
    // scrambled, then four lines holding a single blank, as they are, to part it from the next.
    Result<void> appendTicket(const QList<QByteArray>& printedLines);
    // The printed lines back, for the journal viewer.
    static Result<QList<QByteArray>> readLines(const QString& path, const QByteArray& key);

  private:
    QString path_;
    QByteArray key_;
};

// Deletes the journals ("kv*.drv") of the folder that were last written on another day than
// the reference date.
void cleanJournals(const QString& folder, const QDate& reference);

}  // namespace vendura
