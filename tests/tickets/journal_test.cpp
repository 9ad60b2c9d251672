#include "tickets/journal.h"
#include "platform/files.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vendura;

namespace {

QByteArray allBytes() {
    QByteArray all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    return all;
}

// Journals written by earlier counters must still read: the key wraps as (i mod L) + 1 past
// its length, every byte moves by key + 64 modulo 256, and an empty key changes nothing.
TEST(Journal, ScramblingKeepsTheOldFormatAndIsUndoneExactly) {
    EXPECT_EQ(encriptalinea(QByteArray(5, '\0'), "AB"), QByteArray("\x81\x82\x82\x81\x82"));
    EXPECT_EQ(encriptalinea("\xf0", "A"), QByteArray(1, char(240 + 65 + 64 - 256)));
    EXPECT_EQ(encriptalinea("REVISE SU TICKET", QByteArray()), QByteArray("REVISE SU TICKET"));
    const QByteArray text = allBytes() + allBytes();
    for (const QByteArray& key : {QByteArray("1001"), QByteArray("\xff\xff\x01"), allBytes()}) {
        EXPECT_EQ(desencriptalinea(encriptalinea(text, key), key), text) << key.toStdString();
    }
    EXPECT_EQ(journalPath(u"/var/kv"_s, 4, u"00012"_s, u"ANA"_s), u"/var/kv/kv_400012ANA.drv"_s);
}

// A scrambled byte that happens to be a line end must not split the line in the file.
TEST(Journal, LinesWhoseScramblingHoldsLineEndsStayWhole) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"kv_7000121001.drv"_s);
    // 'z' (122) with 'S' (83) scrambles to 13, a carriage return; 'w' with 'S' to 10
    ASSERT_EQ(encriptalinea("zw", "S"), QByteArray("\r\n"));
    const QList<QByteArray> lines = {"  zzz www } \x10 z", "  Ticket: 0000000042",
                                     allBytes().mid(32)};
    ASSERT_TRUE(Journal(path, "S").appendTicket(lines).ok());
    EXPECT_EQ(Journal::readLines(path, "S").value(), lines + QList<QByteArray>(4, " "));
    EXPECT_EQ(files::read(path).value().count('\n'), 7);
}

TEST(Journal, CleanUpKeepsOnlyTodaysJournals) {
    QTemporaryDir dir;
    const QDate today(2026, 12, 7);
    const struct {
        const char* name;
        int daysAgo;
        bool kept;
    } files[] = {{"kv_700012ANA.drv", 0, true},  {"kv_600012ANA.drv", 1, false},
                 {"KV_100012ANA.DRV", 6, false}, {"kv_7000129999.drv", -1, false},
                 {"otro.drv", 3, true},          {"kv_5notes.txt", 2, true}};
    for (const auto& f : files) {
        QFile file(dir.filePath(QString::fromLatin1(f.name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("x");
        file.flush();  // or closing would stamp the file again
        file.setFileTime(QDateTime(today.addDays(-f.daysAgo), QTime(9, 0)),
                         QFileDevice::FileModificationTime);
    }
    cleanJournals(dir.path(), today);
    for (const auto& f : files) {
        EXPECT_EQ(QFile::exists(dir.filePath(QString::fromLatin1(f.name))), f.kept) << f.name;
    }
}

}  // namespace
