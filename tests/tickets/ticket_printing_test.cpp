#include "dot_matrix.h"
#include "platform/device_printers.h"
#include "platform/files.h"
#include "session/session.h"
#include "tickets/code39.h"
#include "tickets/journal.h"
#include "tickets/printer_output.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vendura;

namespace {

// zbar reading the paper a 9-pin head would print is the test of every pattern and width.
TEST(Code39, WhatThePrinterPrintsScansBackToTheSerial) {
    QRandomGenerator random(20261206);
    QStringList serials = {u"1"_s, u"2000000001"_s, u"1000000000"_s, u"99"_s};
    for (int i = 0; i < 60; ++i) serials << QString::number(random.bounded(2000000001u) + 1u);
    for (const QString& serial : serials) {
        const QImage paper = test::renderDotMatrix(code39::printerBytes(serial));
        EXPECT_EQ(test::readBarcodes(paper), QStringList{u"CODE-39:"_s + serial});
    }
}

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

class PrinterOutputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(QFile(port).open(QIODevice::WriteOnly));
        map.set(u"LPT1"_s, port);
        session.PuertoPrinter = u"LPT1"_s;
        session.Usuario = u"1001"_s;
        session.TipoLetra = u"C"_s;
        session.FilasSalto = 3;
    }
    QByteArray printed() const { return files::read(port).value(); }
    QList<QByteArray> journalLines() const {
        return Journal::readLines(journalFile, "1001").value();
    }

    QTemporaryDir dir;
    QString port = dir.filePath(u"lpt1.out"_s), journalFile = dir.filePath(u"kv_7000121001.drv"_s);
    Journal journal{journalFile, "1001"};
    PortMap map;
    Session session;
};

// Compressed print is wrapped in bytes 15 and 18, lines end in CR LF in code page 437, and the
// fed lines follow; the journal keeps the printed bytes. Normal print sends neither byte.
TEST_F(PrinterOutputTest, ThePortGetsTheLinesAndTheFeedAndTheJournalTheLines) {
    DevicePrinters printers(map, nullptr);
    TicketPrinter printer(printers, session);
    ASSERT_TRUE(printer.printLines({u"  Ticket: 1"_s, u"  Razón Ñ"_s}, &journal).ok());
    ASSERT_TRUE(printer.feed().ok());
    EXPECT_EQ(printed(), QByteArray("\x0f  Ticket: 1\r\n  Raz\xa2n \xa5\r\n\x12 \r\n \r\n \r\n"));
    EXPECT_EQ(journalLines(),
              (QList<QByteArray>{"  Ticket: 1", "  Raz\xa2n \xa5", " ", " ", " ", " "}));

    session.TipoLetra = u"N"_s;
    session.FilasSalto = 0;
    ASSERT_TRUE(printer.printLines({u"A"_s}, nullptr).ok());
    ASSERT_TRUE(printer.feed().ok());
    EXPECT_TRUE(printed().endsWith("\x12 \r\n \r\n \r\nA\r\n"));
}

// A page printer's print jobs, as the system printer factory opens them.
struct Job final : PrinterOutput {
    explicit Job(QList<QByteArray>& jobs) : jobs(jobs) { jobs << QByteArray(); }
    Result<void> write(const QByteArray& bytes) override {
        jobs.last() += bytes;
        return {};
    }
    Result<void> close() override { return {}; }
    QList<QByteArray>& jobs;
};

// On the system printer one ticket is one job, with its fed lines; the port gets nothing.
TEST_F(PrinterOutputTest, TheSystemPrinterGetsTheFedLinesInTheTicketsOwnJob) {
    session.VelocidadFax = u"Y"_s;
    QList<QByteArray> jobs;
    DevicePrinters printers(map, [&jobs]() -> Result<std::unique_ptr<PrinterOutput>> {
        return std::unique_ptr<PrinterOutput>(std::make_unique<Job>(jobs));
    });
    TicketPrinter printer(printers, session);
    ASSERT_TRUE(printer.printLines({u"  Ticket: 1"_s}, &journal).ok());
    ASSERT_TRUE(printer.feed().ok());
    EXPECT_EQ(jobs, QList<QByteArray>{"\x0f  Ticket: 1\r\n\x12 \r\n \r\n \r\n"});
    EXPECT_TRUE(printed().isEmpty());
    EXPECT_EQ(journalLines().size(), 1 + 4);
}

}  // namespace
