#include "platform/device_printers.h"

#include "platform/profile_file.h"

#include <QDir>
#include <QStringList>

#include <fcntl.h>
#include <linux/lp.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace vendura {
namespace {

QString normalPortName(const QString& port) {
    QString p = port.trimmed().toUpper();
    if (p.endsWith(u':')) p.chop(1);
    return p;
}

Error systemError(const QString& what) {
    return Error{errno, what + u": "_s + QString::fromLocal8Bit(std::strerror(errno))};
}

speed_t baudFor(int speed) {
    switch (speed) {
        case 300:
            return B300;
        case 1200:
            return B1200;
        case 2400:
            return B2400;
        case 4800:
            return B4800;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        case 115200:
            return B115200;
        default:
            return B9600;
    }
}

// "9600,8,N,1": speed, data bits, parity, stop bits.
void applyLineSettings(int fd, const QString& settings) {
    termios t{};
    if (tcgetattr(fd, &t) != 0) return;
    cfmakeraw(&t);
    const QStringList parts = settings.trimmed().split(u',');
    const speed_t speed = baudFor(parts.value(0).trimmed().toInt());
    cfsetispeed(&t, speed);
    cfsetospeed(&t, speed);
    t.c_cflag &= ~CSIZE;
    switch (parts.value(1).trimmed().toInt()) {
        case 7:
            t.c_cflag |= CS7;
            break;
        default:
            t.c_cflag |= CS8;
            break;
    }
    const QString parity = parts.value(2).trimmed().toUpper();
    if (parity == u"E"_s) {
        t.c_cflag |= PARENB;
        t.c_cflag &= ~PARODD;
    } else if (parity == u"O"_s) {
        t.c_cflag |= PARENB | PARODD;
    } else {
        t.c_cflag &= ~PARENB;
    }
    if (parts.value(3).trimmed() == u"2"_s) {
        t.c_cflag |= CSTOPB;
    } else {
        t.c_cflag &= ~CSTOPB;
    }
    t.c_cflag |= CLOCAL | CREAD;
    if (asksHardwareHandshake(settings)) {
        t.c_cflag |= CRTSCTS;
    } else if (parts.value(4).trimmed().toUpper() == u"X"_s) {
        t.c_iflag |= IXON | IXOFF;
    }
    tcsetattr(fd, TCSANOW, &t);
}

class DeviceOutput final : public PrinterOutput {
  public:
    explicit DeviceOutput(int fd) : fd_(fd) {}
    ~DeviceOutput() override {
        if (fd_ >= 0) ::close(fd_);
    }
    Result<void> write(const QByteArray& bytes) override {
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n =
                ::write(fd_, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
            if (n < 0) {
                if (errno == EINTR) continue;
                return systemError(u"Error escribiendo en la impresora"_s);
            }
            if (n == 0) return Error{EIO, u"La impresora no acepta más datos"_s};
            done += n;
        }
        return {};
    }
    Result<void> close() override {
        if (fd_ < 0) return {};
        const int fd = fd_;
        fd_ = -1;
        if (isatty(fd)) tcdrain(fd);
        if (::close(fd) != 0) return systemError(u"Error cerrando la impresora"_s);
        return {};
    }

  private:
    int fd_;
};

}  // namespace

bool asksHardwareHandshake(const QString& lineSettings) {
    return lineSettings.split(u',').value(4).trimmed().toUpper() == u"H"_s;
}

quint32 serialPortFlags(int modemLines, bool hardwareHandshake) {
    if (!hardwareHandshake) return 0;
    return (modemLines & (TIOCM_DSR | TIOCM_CTS)) ? 0 : port_flag::kNotSelected;
}

PortMap::PortMap() {
    for (int i = 1; i <= 4; ++i) {
        paths_.insert(u"LPT"_s + QString::number(i), u"/dev/lp"_s + QString::number(i - 1));
        paths_.insert(u"COM"_s + QString::number(i), u"/dev/ttyS"_s + QString::number(i - 1));
    }
}

PortMap PortMap::fromProfile(const ProfileFile& file, const QString& folder) {
    PortMap map;
    for (const QString& port : map.paths_.keys()) {
        const QString path = file.read(u"Puertos"_s, port);
        if (!path.isEmpty()) map.set(port, QDir(folder).filePath(path));
    }
    return map;
}

void PortMap::set(const QString& port, const QString& path) {
    paths_.insert(normalPortName(port), path);
}

QString PortMap::path(const QString& port) const {
    return paths_.value(normalPortName(port));
}

DevicePrinters::DevicePrinters(PortMap map, SystemPrinterFactory systemPrinter)
    : map_(std::move(map)), systemPrinter_(std::move(systemPrinter)) {}

PortCheck DevicePrinters::check(const QString& port, const QString& lineSettings) {
    PortCheck result;
    const QString path = map_.path(port);
    if (path.isEmpty()) return result;
    const int fd =
        ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    result.handle = fd;
    if (fd < 0) return result;

    struct stat st {};
    fstat(fd, &st);
    if (S_ISREG(st.st_mode)) {
        result.statusRead = true;
    } else if (isatty(fd)) {
        int lines = 0;
        if (ioctl(fd, TIOCMGET, &lines) == 0) {
            result.flags |= serialPortFlags(lines, asksHardwareHandshake(lineSettings));
            result.statusRead = true;
        } else {
            result.statusRead = errno == ENOTTY || errno == EINVAL;  // a pseudo-terminal
        }
    } else {
        int status = 0;
        if (ioctl(fd, LPGETSTATUS, &status) == 0) {
            result.statusRead = true;
            if (!(status & LP_PSELECD)) result.flags |= port_flag::kNotSelected;
            if (status & LP_POUTPA) result.flags |= port_flag::kOutOfPaper;
            if (!(status & LP_PERRORP)) result.flags |= port_flag::kIoError;
        }
    }
    ::close(fd);
    return result;
}

Result<std::unique_ptr<PrinterOutput>> DevicePrinters::openPort(const QString& port,
                                                                const QString& lineSettings) {
    const QString path = map_.path(port);
    if (path.isEmpty()) return Error{ENODEV, u"Puerto de impresora desconocido: "_s + port};
    const int fd =
        ::open(path.toLocal8Bit().constData(), O_WRONLY | O_NOCTTY | O_APPEND | O_CLOEXEC);
    if (fd < 0) return systemError(u"No se pudo abrir el puerto "_s + port);
    if (isatty(fd)) applyLineSettings(fd, lineSettings);
    return std::unique_ptr<PrinterOutput>(std::make_unique<DeviceOutput>(fd));
}

Result<std::unique_ptr<PrinterOutput>> DevicePrinters::openSystemPrinter() {
    if (!systemPrinter_) return Error{ENODEV, u"No hay impresora del sistema"_s};
    return systemPrinter_();
}

}  // namespace vendura
