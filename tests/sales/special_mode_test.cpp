#include "platform/code_page_437.h"
#include "platform/files.h"
#include "sales_screen_fixture.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

using namespace vendura;
using namespace vendura::test;

namespace {

class SpecialModeTest : public SalesScreenFixture {
  protected:
    SpecialModeTest() { db.seedSpecial(); }
    QListWidget* list(const char* name) { return control<QListWidget>(name); }
    QStringList entries(const char* name) {
        QStringList out;
        for (int i = 0; i < list(name)->count(); ++i) out << list(name)->item(i)->text();
        return out;
    }
    // "number | lottery | amount | item | kind | special column" of every row.
    QStringList specialRows() {
        QStringList out;
        const TicketModel& m = screen->ticket();
        for (int r = 0; r < m.rowCount(); ++r) {
            QStringList cells;
            for (int c : {0, 1, 2, 5, 6, 4}) cells << m.data(m.index(r, c)).toString();
            out << cells.join(u" | "_s);
        }
        return out;
    }
};

TEST_F(SpecialModeTest, ZOpensTheSpecialEntryAndEscGoesBack) {
    open();
    EXPECT_EQ(control<QPushButton>("Command1")->text(), u"Z-TRI TRIPLETAS"_s);
    press(Qt::Key_Z);
    ASSERT_TRUE(screen->isSpecialMode());
    EXPECT_TRUE(control<QGroupBox>("Frame2")->isVisible());
    EXPECT_EQ(control<QGroupBox>("Frame2")->title(), u"TRI TRIPLETAS"_s);
    EXPECT_TRUE(control<QGroupBox>("Frame3")->isVisible());
    for (const char* hidden : {"NumeroJugar", "MONTO_JUGADA"})
        EXPECT_FALSE(control(hidden)->isVisible()) << hidden;
    EXPECT_FALSE(control<QLabel>("NUM_ULTICK")->isVisible());
    EXPECT_EQ(entries("List1"), (QStringList{u"AAA - ALFA"_s, u"BBB - BETA"_s}));
    EXPECT_EQ(entries("List2"), (QStringList{u"SENCILLA"_s + QString(50, u' ') + u"1"_s,
                                             u"COMBINADA"_s + QString(50, u' ') + u"2"_s,
                                             u"CON SERIE"_s + QString(50, u' ') + u"3"_s}));
    EXPECT_EQ(focused(), list("List1"));
    EXPECT_EQ(control<QRadioButton>("ESPNORMAL")->text(), u"(N)ormal"_s);

    press(Qt::Key_Asterisk);  // both lotteries
    press(Qt::Key_J);
    EXPECT_EQ(focused(), list("List2"));
    press(Qt::Key_Space);  // SENCILLA, the cursor on COMBINADA
    press(Qt::Key_L);
    EXPECT_EQ(focused(), list("List1"));
    press(Qt::Key_1);  // a digit in a list starts the number
    EXPECT_EQ(focused(), control("Numero"));
    EXPECT_EQ(control("Numero")->text(), u"1"_s);
    const SpecialSelection chosen = screen->specialSelection();
    EXPECT_EQ(chosen.especial, u"TRI"_s);
    EXPECT_EQ(chosen.lotteryCodes(), u"AAABBB"_s);
    EXPECT_EQ(chosen.variantCodes(), u"1"_s);

    typeKeys(u"2x"_s);
    press(Qt::Key_Return);
    typeKeys(u"5000"_s);  // in Bs.: 5 Bs.F.
    press(Qt::Key_Escape);
    EXPECT_FALSE(screen->isSpecialMode());
    EXPECT_FALSE(control<QGroupBox>("Frame2")->isVisible());
    EXPECT_TRUE(control("NumeroJugar")->isVisible());
    EXPECT_TRUE(control("Numero")->text().isEmpty());
    EXPECT_TRUE(control("Monto")->text().isEmpty());
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.items_ticket"_s), u"0"_s);

    db.admin(u"SELECT admin.asignar_especial('TRI', '00012', false)"_s);
    open();
    press(Qt::Key_Z);
    EXPECT_FALSE(screen->isSpecialMode());
    EXPECT_EQ(seller.dialogs.last().text,
              u"Usted No tiene Jugadas Especiales Asignadas para Vender!... Revise Por Favor..."_s);
}

TEST_F(SpecialModeTest, ASpecialPlayIsSoldOnEveryLotteryAndVariantAndPrinted) {
    open();
    control<QPushButton>("Command1")->click();
    press(Qt::Key_Asterisk);
    list("List2")->item(0)->setSelected(true);
    list("List2")->item(2)->setSelected(true);
    press(Qt::Key_N);
    EXPECT_EQ(focused(), control("Numero"));
    typeKeys(u"123"_s);
    press(Qt::Key_Return);
    EXPECT_EQ(focused(), control("Monto"));
    typeKeys(u"20*000"_s);  // "*" from the keypad changes nothing here
    EXPECT_EQ(list("List1")->selectedItems().size(), 2);
    press(Qt::Key_Return);
    ASSERT_TRUE(seller.dialogs.shown.empty()) << seller.dialogs.texts().join(u"|"_s).toStdString();
    EXPECT_EQ(specialRows(), (QStringList{u"123 | AAA - ALFA | 20,00 | 1 | 2 | SENCILLA"_s,
                                          u"123 | AAA - ALFA | 20,00 | 2 | 2 | CON SERIE"_s,
                                          u"123 | BBB - BETA | 20,00 | 3 | 2 | SENCILLA"_s,
                                          u"123 | BBB - BETA | 20,00 | 4 | 2 | CON SERIE"_s}));
    EXPECT_EQ(screen->state().jugadaactual, u"Especial"_s);
    EXPECT_EQ(label("TOT_TICKET"), u"80,00"_s);
    EXPECT_EQ(focused(), control("Numero"));
    EXPECT_TRUE(control("Numero")->text().isEmpty());
    EXPECT_EQ(control("Monto")->text(), u"20000"_s);

    // "+" from the number picks the next variant alone; the quota of 100 runs out on the way
    press(Qt::Key_Plus);
    EXPECT_EQ(screen->specialSelection().variantCodes(), u"2"_s);
    typeKeys(u"123"_s);
    press(Qt::Key_Return);
    control("Monto")->setText(u"60000"_s);
    press(Qt::Key_Return);
    EXPECT_EQ(specialRows().mid(4),
              (QStringList{u"123 | AAA - ALFA | 60,00 | 5 | 2 | COMBINADA"_s,
                           u"123 | BBB - BETA | 60,00 | 6 | 2 | COMBINADA"_s}));
    typeKeys(u"123"_s);
    press(Qt::Key_Return);
    press(Qt::Key_Return);
    EXPECT_EQ(seller.dialogs.last().title, u"KALVORA ON LINE - Números Agotados"_s);
    EXPECT_EQ(specialRows().mid(6),
              (QStringList{u"123 | AAA - ALFA | Sin Cupo | 7 | 2 | COMBINADA"_s,
                           u"123 | BBB - BETA | Sin Cupo | 8 | 2 | COMBINADA"_s}));

    // leave special mode and issue: the special plays print under their variants
    press(Qt::Key_Escape);
    press(Qt::Key_Escape);
    const QString printed = fromCodePage437(files::read(seller.printerPath()).value());
    EXPECT_TRUE(printed.contains(u"Esp SENCILLA"_s)) << printed.toStdString();
    EXPECT_TRUE(printed.contains(u"Esp CON SERIE"_s));
    EXPECT_TRUE(printed.contains(u"Total Bs.: 200,00"_s));
    EXPECT_EQ(db.value(u"SELECT monto::float8 FROM central.tickets"_s), u"200"_s);
}

TEST_F(SpecialModeTest, NothingIsSentWithoutLotteryVariantNumberOrAmount) {
    open();
    press(Qt::Key_Z);
    press(Qt::Key_F9);  // Bs.F.
    press(Qt::Key_N);
    typeKeys(u"45"_s);
    press(Qt::Key_Return);
    typeKeys(u"5"_s);
    press(Qt::Key_Return);
    EXPECT_EQ(seller.dialogs.texts(), QStringList{u"Debe por lo menos seleccionar una loteria"_s});
    EXPECT_EQ(seller.dialogs.last().icon, DialogIcon::Critical);
    list("List1")->item(1)->setSelected(true);
    press(Qt::Key_Return);
    EXPECT_EQ(seller.dialogs.last().text, u"Debe  por lo menos seleccionar una jugada especial"_s);
    list("List2")->item(1)->setSelected(true);
    control("Monto")->setText(u"0"_s);
    press(Qt::Key_Return);  // not above zero: back to the number, silently
    EXPECT_EQ(focused(), control("Numero"));
    control("Numero")->clear();
    control("Monto")->setText(u"5"_s);
    control("Monto")->setFocus();
    press(Qt::Key_Return);
    EXPECT_EQ(focused(), control("Numero"));
    EXPECT_EQ(seller.dialogs.shown.size(), 2u);
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.items_ticket"_s), u"0"_s);

    // the special generators open through the registry with the selection of the panel
    QStringList ran;
    for (const auto command : {SalesCommand::EspecialPermuta, SalesCommand::EspecialSerie,
                               SalesCommand::EspecialTerminal})
        actions.set(command, [&ran](SalesScreen& s) {
            ran << s.specialSelection().lotteryCodes() + s.specialSelection().variantCodes();
        });
    list("List1")->setFocus();
    press(Qt::Key_P);
    press(Qt::Key_S);
    press(Qt::Key_M);
    control<QRadioButton>("ESPEPERMUTA")->click();
    control<QPushButton>("Esterminal")->click();
    EXPECT_EQ(ran, QStringList(5, u"BBB2"_s));
}

}  // namespace
