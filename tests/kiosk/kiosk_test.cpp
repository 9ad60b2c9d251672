#include "sales_screen_fixture.h"

#include <QGuiApplication>
#include <QPalette>
#include <QTableView>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <gtest/gtest.h>

using namespace vendura;
using namespace vendura::test;

namespace {

// Types on the X server itself: the key goes to whichever window holds the X input focus.
class XKeyboard {
  public:
    // The pointer goes far from every window: with no window manager the X server's focus
    // follows it until a program sets the focus, and this test must not get its keys that way.
    XKeyboard() : display_(XOpenDisplay(nullptr)) {
        if (display_ && XTestFakeMotionEvent(display_, -1, 1599, 1199, CurrentTime))
            XFlush(display_);
    }
    ~XKeyboard() {
        if (display_) XCloseDisplay(display_);
    }
    bool ok() const { return display_ != nullptr; }
    void keys(std::initializer_list<KeySym> symbols) {
        for (const KeySym symbol : symbols) {
            const KeyCode code = XKeysymToKeycode(display_, symbol);
            XTestFakeKeyEvent(display_, code, True, CurrentTime);
            XTestFakeKeyEvent(display_, code, False, CurrentTime);
            XFlush(display_);
            QTest::qWait(60);
        }
    }

  private:
    Display* display_;
};

class KioskTest : public SalesScreenFixture {};

TEST_F(KioskTest, ASaleByKeysOnAnXServerWithoutWindowManager) {
    ASSERT_EQ(QGuiApplication::platformName(), u"xcb"_s)
        << "run under xvfb-run with QT_QPA_PLATFORM=xcb";
    XKeyboard x;
    ASSERT_TRUE(x.ok());  // xvfb-run starts no window manager

    open(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return screen->isActiveWindow(); }, 5000))
        << "the sales screen did not activate its own window";
    QLineEdit *numero = control("NumeroJugar"), *monto = control("MONTO_JUGADA");
    monto->setText(u"105"_s);  // what the last seller typed

    x.keys({XK_space, XK_F9, XK_7});  // AAA selected; amounts in Bs.F.; the number started
    EXPECT_EQ(numero->text(), u"7"_s);
    EXPECT_EQ(numero->palette().color(QPalette::Base), QColor::fromRgb(seller.session.ColorFoco));
    x.keys({XK_Return});
    EXPECT_EQ(QApplication::focusWidget(), monto);
    EXPECT_EQ(monto->selectedText(), u"105"_s);  // typing replaces the old amount
    x.keys({XK_8, XK_Return});
    EXPECT_EQ(rows(), QStringList{u"7** | AAA - ALFA | 8,00 | 1"_s});
    EXPECT_EQ(QApplication::focusWidget(), numero);
    EXPECT_TRUE(seller.dialogs.shown.empty()) << seller.dialogs.texts().join(u"|"_s).toStdString();

    // a screen opened over the sales screen takes the keys, and gives them back when it goes
    screen->ticketView()->setFocus();
    x.keys({XK_e});
    QWidget* form13 = secondary("Form13");
    ASSERT_TRUE(form13);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form13->isActiveWindow(); }, 5000));
    x.keys({XK_Escape});
    ASSERT_TRUE(QTest::qWaitFor([&] { return screen->isActiveWindow(); }, 5000));
    screen->loterias()->setFocus();
    x.keys({XK_1, XK_2, XK_Return, XK_3, XK_Return});
    EXPECT_EQ(rows().value(1), u"12* | AAA - ALFA | 3,00 | 2"_s);

    x.keys({XK_Escape});  // issues the ticket
    EXPECT_EQ(db.value(u"SELECT monto::float8 FROM central.tickets"_s), u"11"_s);
    EXPECT_EQ(screen->ticket().rowCount(), 0);
}

}  // namespace
