#pragma once

#include "platform/result.h"

#include <QByteArray>
#include <QString>

#include <memory>

namespace vendura {

// What a look at a printer port found, in the terms the counter has always used: the handle
// the open gave (-1 when the device could not be opened), whether its error state could be
// read, and the error flags found there.
struct PortCheck {
    int handle = -1;
    bool statusRead = false;
    quint32 flags = 0;
};

namespace port_flag {
constexpr quint32 kBreak = 0x10;
constexpr quint32 kTimeout = 0x200;
constexpr quint32 kIoError = 0x400;
constexpr quint32 kNotSelected = 0x800;
constexpr quint32 kOutOfPaper = 0x1000;
constexpr quint32 kNotReady = kBreak | kTimeout | kIoError | kNotSelected | kOutOfPaper;
}  // namespace port_flag

// One output opened on a printer.
class PrinterOutput {
  public:
    virtual ~PrinterOutput() = default;
    virtual Result<void> write(const QByteArray& bytes) = 0;
    virtual Result<void> close() = 0;
};

// The printers of the counter: ports named "LPT1".."LPT4", "COM1".."COM4" (a trailing ":" is
// allowed), and the operating system's default printer.
class Printers {
  public:
    virtual ~Printers() = default;
    // lineSettings as for openPort: a serial port's modem lines are looked at only when they
    // ask for a hardware handshake.
    virtual PortCheck check(const QString& port, const QString& lineSettings) = 0;
    // lineSettings: serial line settings such as "9600,8,N,1"; ignored by parallel ports.
    virtual Result<std::unique_ptr<PrinterOutput>> openPort(const QString& port,
                                                            const QString& lineSettings) = 0;
    virtual Result<std::unique_ptr<PrinterOutput>> openSystemPrinter() = 0;
};

}  // namespace vendura
