#pragma once

#include "platform/printer_port.h"

#include <QMap>

#include <functional>

namespace vendura {

class ProfileFile;

// Port names to device paths: LPTn is /dev/lp(n-1), COMn is /dev/ttyS(n-1), unless the
// section "Puertos" of the configuration file names another path for the port.
class PortMap {
  public:
    PortMap();
    // Paths in the file that are not absolute are taken from the given folder.
    static PortMap fromProfile(const ProfileFile& file, const QString& folder);
    void set(const QString& port, const QString& path);
    // The device path of a port name; empty for a name that is no port.
    QString path(const QString& port) const;

  private:
    QMap<QString, QString> paths_;
};

// Serial line settings "9600,8,N,1" may name a flow control in a fifth field: "H" hardware
// (RTS/CTS; the printer raises DSR or CTS while it is ready), "X" XON/XOFF. Without "H" the
// printer is taken to be wired with three wires (data both ways and ground), which leaves the
// modem lines down whatever the printer's state.
bool asksHardwareHandshake(const QString& lineSettings);
// The not-ready flags of a serial port whose modem lines (TIOCM_* bits) were read.
quint32 serialPortFlags(int modemLines, bool hardwareHandshake);

// Printer ports reached as device files. A parallel port's readiness is the kernel's printer
// status; a serial port's the modem lines when its settings ask for a handshake, else that it
// opens; a plain file (a spool or a test) is always ready.
class DevicePrinters final : public Printers {
  public:
    using SystemPrinterFactory = std::function<Result<std::unique_ptr<PrinterOutput>>()>;
    DevicePrinters(PortMap map, SystemPrinterFactory systemPrinter);

    PortCheck check(const QString& port, const QString& lineSettings) override;
    Result<std::unique_ptr<PrinterOutput>> openPort(const QString& port,
                                                    const QString& lineSettings) override;
    Result<std::unique_ptr<PrinterOutput>> openSystemPrinter() override;

  private:
    PortMap map_;
    SystemPrinterFactory systemPrinter_;
};

}  // namespace vendura
