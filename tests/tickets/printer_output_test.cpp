#include "tickets/printer_output.h"
#include "platform/device_printers.h"
#include "platform/files.h"
#include "recorders.h"
#include "session/session.h"
#include "tickets/journal.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <unistd.h>

using namespace vendura;

namespace {

class PrinterOutputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QFile port(portFile());
        ASSERT_TRUE(port.open(QIODevice::WriteOnly));
        map.set(u"LPT1"_s, portFile());
        map.set(u"LPT2"_s, dir.filePath(u"missing"_s));
        map.set(u"LPT3"_s, u"/dev/null"_s);
        session.PuertoPrinter = u"LPT1"_s;
        session.Usuario = u"1001"_s;
        session.TipoLetra = u"C"_s;
        session.FilasSalto = 3;
    }
    QString portFile() const { return dir.filePath(u"lpt1.out"_s); }
    QByteArray printed() const { return files::read(portFile()).value(); }

    QTemporaryDir dir;
    PortMap map;
    Session session;
    test::DialogRecorder dialogs;
};

TEST_F(PrinterOutputTest, CompressedPrintIsWrappedInBytes15And18WithCrLfLines) {
    DevicePrinters printers(map, nullptr);
    TicketPrinter printer(printers, session);
    Journal journal(dir.filePath(u"kv_7000121001.drv"_s), "1001");
    ASSERT_TRUE(printer.printLines({u"  Ticket: 1"_s, u"  Razón Ñ"_s}, &journal).ok());
    EXPECT_EQ(printed(), QByteArray("\x0f  Ticket: 1\r\n  Raz\xa2n \xa5\r\n\x12"));
    ASSERT_TRUE(printer.feed().ok());
    EXPECT_TRUE(printed().endsWith("\x12 \r\n \r\n \r\n"));
    EXPECT_EQ(Journal::readLines(dir.filePath(u"kv_7000121001.drv"_s), "1001").value(),
              (QList<QByteArray>{"  Ticket: 1", "  Raz\xa2n \xa5", " ", " ", " ", " "}));
}

TEST_F(PrinterOutputTest, NormalPrintSendsNeitherControlByteAndNoFeedForZeroLines) {
    session.TipoLetra = u"N"_s;
    session.FilasSalto = 0;
    DevicePrinters printers(map, nullptr);
    TicketPrinter printer(printers, session);
    Journal journal(dir.filePath(u"j.drv"_s), "1001");
    ASSERT_TRUE(printer.printLines({u"A"_s}, &journal).ok());
    ASSERT_TRUE(printer.feed().ok());
    EXPECT_EQ(printed(), QByteArray("A\r\n"));
}

TEST_F(PrinterOutputTest, ASerialPrinterOnAPseudoTerminalGetsTheSameBytes) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    map.set(u"COM1"_s, QString::fromLocal8Bit(ptsname(master)));
    session.PuertoPrinter = u"COM1"_s;
    session.VelocidadFax = u"9600,8,N,1"_s;
    DevicePrinters printers(map, nullptr);
    EXPECT_EQ(impresoralista(printers, dialogs, u"COM1:"_s, session.VelocidadFax), 0);
    TicketPrinter printer(printers, session);
    Journal journal(dir.filePath(u"j.drv"_s), "1001");
    ASSERT_TRUE(printer.printLines({u"  Serial:42"_s}, &journal).ok());
    QByteArray got;
    pollfd p{master, POLLIN, 0};
    while (poll(&p, 1, 500) > 0) {
        char buf[256];
        const ssize_t n = read(master, buf, sizeof buf);
        if (n <= 0) break;
        got.append(buf, n);
        if (got.endsWith('\x12')) break;
    }
    close(master);
    EXPECT_EQ(got, QByteArray("\x0f  Serial:42\r\n\x12"));
}

TEST_F(PrinterOutputTest, APortThatCannotBeOpenedOrReadIsNotReady) {
    DevicePrinters printers(map, nullptr);
    EXPECT_EQ(impresoralista(printers, dialogs, u"LPT1:"_s, QString()), 0);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(impresoralista(printers, dialogs, u"LPT2:"_s, QString()), 1);
    EXPECT_EQ(dialogs.last().text, u"error de apertura del puerto -1"_s);
    EXPECT_EQ(dialogs.last().icon, DialogIcon::None);
    EXPECT_EQ(impresoralista(printers, dialogs, u"LPT3:"_s, QString()),
              1);  // a device with no port status
    EXPECT_EQ(dialogs.last().text, u"Error en ClearCommError"_s);
    EXPECT_EQ(impresoralista(printers, dialogs, u"PRN"_s, QString()), 1);  // no such port name
}

TEST_F(PrinterOutputTest, ASerialPrintersModemLinesCountOnlyWhenItsSettingsAskForAHandshake) {
    struct Case {
        const char* settings;
        int lines;
        bool notReady;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"9600,8,N,1", 0, false},  // three wires: nothing to look at
             {"9600,8,N,1 ", 0, false},
             {"", 0, false},
             {"9600,8,N,1,X", 0, false},
             {"9600,8,N,1,H", 0, true},  // switched off, or the cable is out
             {"9600,8,N,1,h ", TIOCM_DSR, false},
             {"19200,8,N,1,H", TIOCM_CTS, false},
             {"9600,8,N,1,H", TIOCM_CD | TIOCM_RI, true}}) {
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
    DevicePrinters::SystemPrinterFactory factory() {
        return [this]() -> Result<std::unique_ptr<PrinterOutput>> {
            return std::unique_ptr<PrinterOutput>(std::make_unique<Job>(jobs));
        };
    }
    QList<QByteArray> jobs;
};

TEST_F(PrinterOutputTest, TheSystemPrinterGetsTheFedLinesInTheTicketsOwnJob) {
    session.VelocidadFax = u"Y"_s;
    SystemPrinterJobs system;
    DevicePrinters printers(map, system.factory());
    TicketPrinter printer(printers, session);
    Journal journal(dir.filePath(u"j.drv"_s), "1001");
    ASSERT_TRUE(printer.printLines({u"  Ticket: 1"_s}, &journal).ok());
    ASSERT_TRUE(printer.feed().ok());
    EXPECT_EQ(system.jobs, QList<QByteArray>{QByteArray("\x0f  Ticket: 1\r\n\x12 \r\n \r\n \r\n")});
    EXPECT_TRUE(printed().isEmpty());  // nothing went to the port

    // a reprint feeds lines of three blanks, and leaves the journal alone
    TicketPrinter reprint(printers, session, "   ");
    ASSERT_TRUE(reprint.printLines({u"  Ticket: 1"_s}, nullptr).ok());
    EXPECT_EQ(system.jobs.last(), QByteArray("\x0f  Ticket: 1\r\n\x12   \r\n   \r\n   \r\n"));
    EXPECT_EQ(Journal::readLines(dir.filePath(u"j.drv"_s), "1001").value().size(), 1 + 4);
}

// A printer that takes a number of bytes and then fails.
class FailingPrinters final : public Printers {
  public:
    explicit FailingPrinters(int capacity) : capacity_(capacity) {}
    PortCheck check(const QString&, const QString&) override { return {3, true, 0}; }
    Result<std::unique_ptr<PrinterOutput>> openPort(const QString&, const QString&) override {
        return std::unique_ptr<PrinterOutput>(std::make_unique<Output>(*this));
    }
    Result<std::unique_ptr<PrinterOutput>> openSystemPrinter() override {
        return Error{1, u"none"_s};
    }
    QByteArray received;

  private:
    struct Output final : PrinterOutput {
        explicit Output(FailingPrinters& p) : p(p) {}
        Result<void> write(const QByteArray& bytes) override {
            const qsizetype room = p.capacity_ - p.received.size();
            p.received += bytes.left(qMax<qsizetype>(0, room));
            if (bytes.size() > room) return Error{28, u"No space left on device"_s};
            return {};
        }
        Result<void> close() override { return {}; }
        FailingPrinters& p;
    };
    int capacity_;
};

TEST_F(PrinterOutputTest, APrinterThatFailsHalfwayIsReported) {
    FailingPrinters printers(10);
    TicketPrinter printer(printers, session);
    Journal journal(dir.filePath(u"j.drv"_s), "1001");
    auto result = printer.printLines({u"  Ticket: 0000000001"_s}, &journal);
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().description, u"No space left on device"_s);
    EXPECT_EQ(printers.received.size(), 10);
    EXPECT_FALSE(printer.printBarcode(u"42"_s).ok());
}

}  // namespace
