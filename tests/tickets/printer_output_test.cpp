#include "tickets/printer_output.h"
#include "platform/device_printers.h"
#include "platform/files.h"
#include "recorders.h"
#include "session/session.h"
#include "tickets/journal.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/ioctl.h>

using namespace vendura;

namespace {

class PrinterOutputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(QFile(port).open(QIODevice::WriteOnly));
        map.set(u"LPT1"_s, port);
        map.set(u"LPT3"_s, u"/dev/null"_s);
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
    test::DialogRecorder dialogs;
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

TEST_F(PrinterOutputTest, APortThatCannotBeOpenedOrReadIsNotReady) {
    DevicePrinters printers(map, nullptr);
    EXPECT_EQ(impresoralista(printers, dialogs, u"LPT1:"_s, QString()), 0);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(impresoralista(printers, dialogs, u"LPT3:"_s, QString()), 1);  // no port status
    EXPECT_EQ(dialogs.last().text, u"Error en ClearCommError"_s);
    EXPECT_EQ(dialogs.last().icon, DialogIcon::None);
    EXPECT_EQ(impresoralista(printers, dialogs, u"PRN"_s, QString()), 1);  // no such port name
}

TEST_F(PrinterOutputTest, ASerialPrintersModemLinesCountOnlyWhenItsSettingsAskForAHandshake) {
    const struct {
        const char* settings;
        int lines;
        bool notReady;
    } cases[] = {{"9600,8,N,1", 0, false},  // three wires: nothing to look at
                 {"9600,8,N,1 ", 0, false},
                 {"", 0, false},
                 {"9600,8,N,1,X", 0, false},
                 {"9600,8,N,1,H", 0, true},  // switched off, or the cable is out
                 {"9600,8,N,1,h ", TIOCM_DSR, false},
                 {"19200,8,N,1,H", TIOCM_CTS, false},
                 {"9600,8,N,1,H", TIOCM_CD | TIOCM_RI, true}};
    for (const auto& c : cases) {
        const QString settings = QString::fromLatin1(c.settings);
        EXPECT_EQ(serialPortFlags(c.lines, asksHardwareHandshake(settings)) != 0, c.notReady)
            << c.settings << " " << c.lines;
    }
}

// The default printer of the system, keeping what each print job received.
struct SystemPrinterJobs {
    struct Job final : PrinterOutput {
        explicit Job(QList<QByteArray>& jobs) : jobs(jobs) { jobs << QByteArray(); }
        Result<void> write(const QByteArray& bytes) override {
            jobs.last() += bytes;
            return {};
        }
        Result<void> close() override { return {}; }
        QList<QByteArray>& jobs;
    };
    QList<QByteArray> jobs;
};

// One ticket is one job with its fed lines; a reprint feeds lines of three blanks and leaves
// the journal alone.
TEST_F(PrinterOutputTest, TheSystemPrinterGetsTheFedLinesInTheTicketsOwnJob) {
    session.VelocidadFax = u"Y"_s;
    SystemPrinterJobs system;
    DevicePrinters printers(map, [&system]() -> Result<std::unique_ptr<PrinterOutput>> {
        return std::unique_ptr<PrinterOutput>(
            std::make_unique<SystemPrinterJobs::Job>(system.jobs));
    });
    TicketPrinter printer(printers, session);
    ASSERT_TRUE(printer.printLines({u"  Ticket: 1"_s}, &journal).ok());
    ASSERT_TRUE(printer.feed().ok());
    ASSERT_TRUE(
        TicketPrinter(printers, session, "   ").printLines({u"  Ticket: 1"_s}, nullptr).ok());
    EXPECT_EQ(system.jobs, (QList<QByteArray>{"\x0f  Ticket: 1\r\n\x12 \r\n \r\n \r\n",
                                              "\x0f  Ticket: 1\r\n\x12   \r\n   \r\n   \r\n"}));
    EXPECT_TRUE(printed().isEmpty());  // nothing went to the port
    EXPECT_EQ(journalLines().size(), 1 + 4);
}

}  // namespace
