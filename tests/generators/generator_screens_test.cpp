#include "../aftersale/issued_tickets.h"
#include "app/generator_actions.h"
#include "sales_screen_fixture.h"

#include <QDialog>
#include <QTimer>

#include <gtest/gtest.h>

using namespace vendura;
using namespace vendura::test;

namespace {

// The sales screen with the generators registered as the program registers them; each test
// sells on a generator by keys alone.
class GeneratorScreensTest : public SalesScreenFixture {
  protected:
    GeneratorScreensTest() { registerGeneratorActions(actions, random); }

    // Presses a key of the sales screen's lottery list; `inside` runs on the generator it opens,
    // which Esc then closes when it is still open.
    void onGenerator(const QString& key, const std::function<void(QDialog&)>& inside) {
        opened.clear();
        QTimer::singleShot(0, [this, inside] {
            auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!d) return;
            opened = d->objectName();
            QApplication::setActiveWindow(d);  // focus events need an active window
            inside(*d);
            if (d->isVisible()) QTest::keyClick(field(*d), Qt::Key_Escape);
        });
        control<QListWidget>("L_Loterias")->setFocus();
        typeKeys(key);
        QCoreApplication::processEvents();  // a screen that did not open leaves nothing behind
    }
    static QWidget* field(QDialog& d) { return d.focusWidget() ? d.focusWidget() : &d; }
    // Text typed into the generator's focused field, then Enter.
    static void enter(QDialog& d, const QString& text = {}) {
        QTest::keyClicks(field(d), text);
        QTest::keyClick(field(d), Qt::Key_Return);
    }
    // Column 0 (number) or 7 (play label) of every row from a row on.
    QStringList column(int c, int from = 0) {
        QStringList out;
        const TicketModel& m = screen->ticket();
        for (int r = from; r < m.rowCount(); ++r) out << m.data(m.index(r, c)).toString();
        return out;
    }
    void start() {
        open();
        selectLotteries({0});
        press(Qt::Key_F9);  // amounts in Bs.F.
    }

    QString opened;
};

// Permutations sold twice are numbered as two groups, which switches the working mode to "1";
// series, a seguidilla (refused past ten numbers apart) and positions follow, ungrouped.
TEST_F(GeneratorScreensTest, PermutationsSeriesSeguidillasAndPositionsSellTheirLists) {
    start();
    onGenerator(u"p"_s, [](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), u"Venta de Permutas de Números"_s);
        enter(d, u"1"_s);  // one digit does not move on
        enter(d, u"23"_s);
        enter(d, u"5"_s);
        enter(d);  // the same digits and amount again
    });
    EXPECT_EQ(opened, u"Form8"_s);
    EXPECT_EQ(column(7).first() + u"|"_s + column(7).last(), u"1Permuta 123*|2Permuta 123*"_s);
    EXPECT_EQ(rows().last(), u"321 | AAA - ALFA | 5,00 | 12"_s);
    // a whole group was on the ticket when the second was numbered
    EXPECT_EQ(seller.session.ModoTrabajo, u"1"_s);
    EXPECT_EQ(label("TOT_TICKET"), u"60,00"_s);
    EXPECT_TRUE(seller.dialogs.shown.empty()) << seller.dialogs.texts().join(u"|").toStdString();

    seller.session.longitudpermuta = 3;
    onGenerator(u"S"_s, [](QDialog& d) {
        enter(d, u"7"_s);
        enter(d, u"2"_s);
    });
    EXPECT_EQ(opened, u"Form5"_s);
    EXPECT_EQ(column(0, 12).join(u' '), u"007 107 207 307 407 507 607 707 807 907"_s);
    // the permutations switched the working mode to "1": no more groups
    EXPECT_EQ(column(7).last(), u"Serie 07 - 97"_s);

    onGenerator(u"G"_s, [this](QDialog& d) {
        enter(d, u"10"_s);
        enter(d, u"21"_s);
        enter(d, u"1"_s);  // eleven numbers apart: refused
        EXPECT_EQ(seller.dialogs.texts(),
                  QStringList{u"Sólo se permiten seguidillas comprendidas en un rango de 10 "
                              u"números!"_s});
        EXPECT_EQ(seller.dialogs.last().title, u"Atención"_s);
        QTest::keyClick(d.findChild<QLineEdit*>(u"Text3"_s), Qt::Key_Backspace);
        QTest::keyClicks(d.findChild<QLineEdit*>(u"Text3"_s), u"0"_s);
        QTest::keyClick(d.findChild<QLineEdit*>(u"Text2"_s), Qt::Key_Return);
    });
    EXPECT_EQ(column(0, 22).join(u' '), u"010 011 012 013 014 015 016 017 018 019 020"_s);
    EXPECT_EQ(column(7).last(), u"Seguidilla 10 - 20"_s);

    onGenerator(u"o"_s, [](QDialog& d) {
        enter(d, u"7"_s);  // to the position
        enter(d);          // left, to the amount
        enter(d, u"1"_s);
    });
    EXPECT_EQ(opened, u"Form10"_s);
    const QStringList positions = column(0, 33);
    EXPECT_EQ(positions.size(), 100);
    EXPECT_EQ(positions.first() + positions.last(), u"700799"_s);
}

// Shift+Tab and Tab take a field whole, as Enter does, even in a window that lost its
// activation, where a line edit gets no focus-in and selects nothing itself: the digits and the
// amount typed after them replace the last sale's.
TEST_F(GeneratorScreensTest, TabAndShiftTabTakeAFieldWholeInAWindowThatLostActivation) {
    start();
    onGenerator(u"p"_s, [](QDialog& d) {
        enter(d, u"123"_s);
        enter(d, u"5"_s);  // sold; the amount keeps the focus
        AnotherWindowActive other(&d);
        QTest::keyClick(field(d), Qt::Key_Backtab);
        QTest::keyClicks(field(d), u"456"_s);
        QTest::keyClick(field(d), Qt::Key_Tab);
        enter(d, u"7"_s);
    });
    EXPECT_EQ(rows().last(), u"654 | AAA - ALFA | 7,00 | 12"_s);
    EXPECT_EQ(label("TOT_TICKET"), u"72,00"_s);
}

// On one ticket: a repeat copies the selected lottery's plays onto the chosen ones, each for
// its own amount when none is given; terminals need triples on the ticket; the random play
// sells the digits shown when stopped, twice with the same number; a reload takes one source
// lottery of one of this sales point's tickets, never another's.
TEST_F(GeneratorScreensTest, ARepeatTerminalsARandomPlayAndAReload) {
    db.addVendor(u"00013"_s, u"2001"_s);
    issueTicket(db, u"555"_s, u"1"_s, u"2026-12-05"_s,
                {{u"AAA"_s, u"321"_s, u"4"_s}, {u"AAA"_s, u"12*"_s, u"1"_s}});
    issueTicket(db, u"556"_s, u"2"_s, u"2026-12-05"_s, {{u"AAA"_s, u"444"_s, u"4"_s}}, u"00013"_s,
                u"2001"_s);
    start();
    onGenerator(u"T"_s, [](QDialog&) {});
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_EQ(seller.dialogs.texts(),
              QStringList{u"No Hay Triples para Vender los Terminales... Verifique por Favor"_s});
    sell(u"123"_s, u"4"_s);
    onGenerator(u"R"_s, [](QDialog& d) {
        auto* amount = d.findChild<QLineEdit*>(u"Text2"_s);
        amount->setText(u"12"_s);
        QTest::keyClick(field(d), Qt::Key_Down);
        QTest::keyClick(field(d), Qt::Key_Space);  // BBB
        enter(d);                                  // 12 does not end in 0 or 5: nothing
        EXPECT_TRUE(d.isVisible());
        amount->clear();
        enter(d);
    });
    EXPECT_EQ(opened, u"Form12"_s);
    EXPECT_EQ(column(7).last(), u"Jugada repetida"_s);
    sell(u"45"_s, u"4"_s);
    onGenerator(u"T"_s, [](QDialog& d) { enter(d); });
    EXPECT_EQ(opened, u"Form11"_s);
    EXPECT_EQ(rows(),
              QStringList({u"123 | AAA - ALFA | 4,00 | 1"_s, u"123 | BBB - BETA | 4,00 | 2"_s,
                           u"45* | AAA - ALFA | 4,00 | 3"_s, u"23* | AAA - ALFA | 4,00 | 4"_s}));

    random.numbers = {1000000001, 1, 2000000001};  // 4, 0 + 1, 8
    QString shown;
    onGenerator(u"A"_s, [&](QDialog& d) {
        for (const char* name : {"Label2", "Label3", "Label4"})
            shown += d.findChild<QLabel*>(QString::fromLatin1(name))->text();
        enter(d, u"3"_s);  // to the button
        enter(d);          // stops and sells
        enter(d, u"2"_s);
        enter(d);  // the same number again
    });
    EXPECT_EQ(shown, u"418"_s);
    EXPECT_EQ(column(0, 4), QStringList({shown, shown}));
    EXPECT_EQ(column(7).last(), u"A la Suerte"_s);

    // a reload takes one source lottery of one of this sales point's tickets
    auto load = [this](const QString& ticket) {
        onGenerator(u"c"_s, [ticket](QDialog& d) {
            QTest::keyClick(field(d), Qt::Key_Space);  // AAA is the source
            QTest::keyClick(field(d), Qt::Key_Tab);
            QTest::keyClick(field(d), Qt::Key_Down);
            QTest::keyClick(field(d), Qt::Key_Space);    // onto BBB
            QTest::keyClicks(field(d), ticket.left(1));  // a digit goes to the ticket field
            enter(d, ticket.mid(1));
            enter(d);
        });
    };
    load(u"556"_s);
    EXPECT_EQ(opened, u"Form17"_s);
    EXPECT_EQ(screen->ticket().rowCount(), 6);
    EXPECT_EQ(seller.dialogs.last().text,
              u"La jugada no fue registrada. El ticket indicado no fue vendido en este "
              u"punto de venta."_s);
    load(u"555"_s);
    EXPECT_EQ(rows().mid(6),
              QStringList({u"321 | BBB - BETA | 4,00 | 7"_s, u"12* | BBB - BETA | 1,00 | 8"_s}));

    onGenerator(u"c"_s, [this](QDialog& d) {
        auto* list2 = d.findChild<QListWidget*>(u"List2"_s);
        list2->item(0)->setSelected(true);
        list2->item(1)->setSelected(true);
        QTest::keyClick(field(d), Qt::Key_Tab);
        QTest::qWait(10);
        EXPECT_EQ(seller.dialogs.last().text, u"Debe seleccionar una sola loteria de origen"_s);
        EXPECT_EQ(d.focusWidget(), list2);
    });
}

// The special generators sell on the lotteries and variants chosen on the special panel,
// variant by variant within the lottery.
TEST_F(GeneratorScreensTest, SpecialGeneratorsSellOnThePanelsLotteriesAndVariants) {
    db.seedSpecial();
    start();
    control<QListWidget>("L_Loterias")->setFocus();
    press(Qt::Key_Z);
    control<QListWidget>("List1")->item(0)->setSelected(true);
    control<QListWidget>("List2")->item(0)->setSelected(true);
    control<QListWidget>("List2")->item(2)->setSelected(true);
    onGenerator(u"s"_s, [](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), u"Venta de Series Especiales"_s);
        enter(d, u"7"_s);
        enter(d, u"2"_s);
    });
    EXPECT_EQ(opened, u"SerieEsp"_s);
    const TicketModel& m = screen->ticket();
    ASSERT_EQ(m.rowCount(), 20);
    EXPECT_EQ(m.at(9).especial + u" "_s + m.at(10).especial + u" "_s + m.at(10).numero,
              u"SENCILLA CON SERIE 007"_s);
    EXPECT_EQ(m.at(19).tipo + m.at(19).tipo2 + u" "_s + rows().last(),
              u"2Series Especiales 907 | AAA - ALFA | 2,00 | 20"_s);
}

}  // namespace
