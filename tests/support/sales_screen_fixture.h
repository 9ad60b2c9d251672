#pragma once

#include "logged_in.h"
#include "sales/screens/sales_screen.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

namespace vendura::test {

// The sales screen of a seller logged in against a test database (vendor 00012 with
// lotteries AAA and BBB), driven by key presses. Its printer port LPT1 is the file
// seller.printerPath().
class SalesScreenFixture : public ::testing::Test {
  protected:
    SalesScreenFixture() {
        db.seedVendor();
        db.seedLotteries();
        QFile port(seller.printerPath());
        port.open(QIODevice::WriteOnly);
    }

    // kioskStart: nothing but the program itself makes its window active, as on a counter whose
    // X server runs no window manager.
    SalesScreen& open(bool kioskStart = false) {
        EXPECT_TRUE(seller.login()) << seller.dialogs.texts().join(u" | "_s).toStdString();
        printers = std::make_unique<DevicePrinters>(
            PortMap::fromProfile(ProfileFile(seller.installation.iniPath()), seller.dir.path()),
            nullptr);
        screen = std::make_unique<SalesScreen>(SalesScreenDeps{
            seller.link, seller.launcher, seller.programEnd, random, clock, *printers, actions});
        screen->load();
        screen->setUserPanel(u"1001 ANA PEREZ"_s);
        screen->show();
        // focus events, and with them the focus colours and whole-text selection, need an
        // active window
        if (!kioskStart) QApplication::setActiveWindow(screen.get());
        return *screen;
    }
    // Another window is the active one while this lives, as when the counter's window lost its
    // activation: the screen still gets the keys sent to it, its widgets no focus-in events.
    class AnotherWindowActive {
      public:
        explicit AnotherWindowActive(QWidget* screen) : screen_(screen) {
            other_.show();
            QApplication::setActiveWindow(&other_);
        }
        ~AnotherWindowActive() { QApplication::setActiveWindow(screen_); }

      private:
        QWidget other_;
        QWidget* screen_;
    };
    template <typename W = QLineEdit>
    W* control(const char* name) {
        W* w = screen->findChild<W*>(QString::fromLatin1(name));
        EXPECT_TRUE(w) << name;
        return w;
    }
    QString label(const char* name) { return control<QLabel>(name)->text(); }
    // The screen of that name the sales screen has open over it, or null.
    QWidget* secondary(const char* name) {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() == QLatin1String(name) && w->isVisible()) return w;
        }
        return nullptr;
    }
    QWidget* focused() { return screen->focusWidget(); }
    void press(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(focused(), Qt::Key(key), mods);
    }
    void typeKeys(const QString& text) { QTest::keyClicks(focused(), text); }
    void selectLotteries(std::initializer_list<int> rows) {
        QListWidget* list = control<QListWidget>("L_Loterias");
        list->clearSelection();
        for (int r : rows) list->item(r)->setSelected(true);
    }
    // Number, Enter, amount, Enter, starting in an empty NumeroJugar.
    void sell(const QString& number, const QString& amount) {
        control("NumeroJugar")->clear();
        control("NumeroJugar")->setFocus();
        typeKeys(number);
        press(Qt::Key_Return);
        typeKeys(amount);
        press(Qt::Key_Return);
    }
    // "number | lottery | amount | item" of every row of the ticket.
    QStringList rows() {
        QStringList out;
        const TicketModel& m = screen->ticket();
        for (int r = 0; r < m.rowCount(); ++r) {
            QStringList cells;
            for (int c : {0, 1, 2, 5}) cells << m.data(m.index(r, c)).toString();
            out << cells.join(u" | "_s);
        }
        return out;
    }

    TestDatabase db;
    LoggedIn seller{db};
    ScriptedRandom random;
    FixedClock clock{QDateTime(QDate(2026, 12, 7), QTime(10, 0))};
    std::unique_ptr<DevicePrinters> printers;
    SalesActions actions;
    std::unique_ptr<SalesScreen> screen;
};

}  // namespace vendura::test
