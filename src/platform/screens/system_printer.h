#pragma once

#include "platform/printer_port.h"

namespace vendura {

// The operating system's default printer (CUPS through QPrinter). It takes the same bytes as
// a ticket printer port: code page 437 text with CR LF line ends; byte 15 switches to
// condensed print and byte 18 back. The page is printed when the output is closed.
Result<std::unique_ptr<PrinterOutput>> openSystemPrinter();

}  // namespace vendura
