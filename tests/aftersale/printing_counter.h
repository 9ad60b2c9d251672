#pragma once

#include "issued_tickets.h"
#include "logged_in.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace vendura::test {

// Seller 1001 of sales point 00012 (lotteries AAA and BBB, the payout table of the tests) at a
// counter whose ticket printer LPT1 is the file printed() reads; login() logs in.
class PrintingCounter : public ::testing::Test {
  protected:
    PrintingCounter() {
        db.seedVendor();
        db.seedLotteries();
        seedPayouts(db);
        QFile(seller.printerPath()).open(QIODevice::WriteOnly);
    }
    void login() {
        EXPECT_TRUE(seller.login()) << seller.dialogs.texts().join(u" | "_s).toStdString();
        seller.dialogs.clear();
        printers = std::make_unique<DevicePrinters>(
            PortMap::fromProfile(ProfileFile(seller.installation.iniPath()), seller.dir.path()),
            nullptr);
    }
    QString printed() const {
        QFile f(seller.printerPath());
        f.open(QIODevice::ReadOnly);
        return QString::fromLatin1(f.readAll());
    }
    template <typename W = QLineEdit>
    static W* control(const QWidget* screen, const char* name) {
        W* w = screen->findChild<W*>(QString::fromLatin1(name));
        EXPECT_TRUE(w) << name;
        return w;
    }
    static QWidget* focused() { return QApplication::focusWidget(); }

    TestDatabase db;
    LoggedIn seller{db};
    // not the server's 10:00: what is printed shows which clock it came from
    FixedClock clock{QDateTime(QDate(2026, 12, 7), QTime(10, 30, 5))};
    std::unique_ptr<DevicePrinters> printers;
};

}  // namespace vendura::test
