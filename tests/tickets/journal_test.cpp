#include "tickets/journal.h"
#include "platform/files.h"

#include <QDir>
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

TEST(Journal, ScramblingIsUndoneExactlyForEveryByteAndKey) {
    const QByteArray text = allBytes() + allBytes();
    for (const QByteArray& key : {QByteArray("A"), QByteArray("1001"), QByteArray("\xff\xff\x01"),
                                  allBytes(), QByteArray("ANA")}) {
        const QByteArray scrambled = encriptalinea(text, key);
        EXPECT_EQ(scrambled.size(), text.size());
        EXPECT_NE(scrambled, text);
        EXPECT_EQ(desencriptalinea(scrambled, key), text) << key.toHex().toStdString();
    }
    EXPECT_EQ(encriptalinea("REVISE SU TICKET", QByteArray()), QByteArray("REVISE SU TICKET"));
}

TEST(Journal, KeyPositionsWrapAsTheCounterAlwaysDid) {
    // key "AB" (65, 66): positions 1, 2, then (3 mod 2) + 1 = 2, (4 mod 2) + 1 = 1, 2
    const QByteArray s = encriptalinea(QByteArray(5, '\0'), "AB");
    EXPECT_EQ(static_cast<unsigned char>(s[0]), 65 + 64);
    EXPECT_EQ(static_cast<unsigned char>(s[1]), 66 + 64);
    EXPECT_EQ(static_cast<unsigned char>(s[2]), 66 + 64);
    EXPECT_EQ(static_cast<unsigned char>(s[3]), 65 + 64);
    EXPECT_EQ(static_cast<unsigned char>(s[4]), 66 + 64);
    // past 255 the code wraps to the low end
    EXPECT_EQ(static_cast<unsigned char>(encriptalinea("\xf0", "A")[0]), (240 + 65 + 64) - 256);
}

TEST(Journal, TheFileIsNamedAfterDayVendorAndUser) {
    EXPECT_EQ(journalPath(u"/var/kv"_s, 4, u"00012"_s, u"ANA"_s), u"/var/kv/kv_400012ANA.drv"_s);
    EXPECT_EQ(journalPath(u"/var/kv"_s, 31, u"00012"_s, u"1001"_s),
              u"/var/kv/kv_31000121001.drv"_s);
}

TEST(Journal, LinesWhoseScramblingHoldsLineEndsStayWhole) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"kv_7000121001.drv"_s);
    // 'z' (122) with 'S' (83) scrambles to 13, a carriage return; 'w' with 'S' to 10
    const QByteArray key = "S";
    ASSERT_EQ(encriptalinea("z", key), QByteArray("\r"));
    Journal journal(path, key);
    const QList<QByteArray> lines = {"  zzz www } \x10 z", "  Ticket: 0000000042",
                                     allBytes().mid(32)};
    ASSERT_TRUE(journal.appendTicket(lines).ok());
    auto back = Journal::readLines(path, key);
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(back.value(), lines + QList<QByteArray>(4, " "));
    EXPECT_EQ(files::read(path).value().count('\n'), 7);
}

TEST(Journal, CleanUpKeepsOnlyTodaysJournals) {
    QTemporaryDir dir;
    const QDate today(2026, 12, 7);
    struct Dated {
        const char* name;
        int daysAgo;
        bool kept;
    } files[] = {{"kv_700012ANA.drv", 0, true},  {"kv_600012ANA.drv", 1, false},
                 {"KV_100012ANA.DRV", 6, false}, {"kv_7000129999.drv", -1, false},
                 {"otro.drv", 3, true},          {"kv_5notes.txt", 2, true}};
    for (const Dated& f : files) {
        QFile file(dir.filePath(QString::fromLatin1(f.name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("x");
        file.flush();
        file.setFileTime(QDateTime(today.addDays(-f.daysAgo), QTime(9, 0)),
                         QFileDevice::FileModificationTime);
    }
    cleanJournals(dir.path(), today);
    for (const Dated& f : files) {
        EXPECT_EQ(QFile::exists(dir.filePath(QString::fromLatin1(f.name))), f.kept) << f.name;
    }
}

}  // namespace
