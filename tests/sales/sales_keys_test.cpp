#include "screen_test.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

#include <gtest/gtest.h>

using namespace vendura;
using namespace vendura::test;
using C = SalesCommand;

namespace {

using SalesKeysTest = SalesScreenTest;

// The letters' meanings are in the key tables; here the screen runs them, upper or lower case,
// with no permission, setting the play label first where the table has one; "B" cancels a
// ticket as F3 does, so it asks for F3's permission.
TEST_F(SalesKeysTest, NormalModeLettersRunTheirCommandsWithTheirPlayLabels) {
    open();
    seller.session.Permisos.clear();
    loterias()->setFocus();
    for (const char key : {'P', 'c', 'B', 'g'}) QTest::keyClick(loterias(), key);
    EXPECT_EQ(takeRan(), (QStringList{run(C::Permutas, u"sUper permutas"_s),
                                      run(C::CargarTicket, u"Cargado desde Ticket"_s)}));
    // nobody registered the seguidillas
    EXPECT_EQ(seller.dialogs.texts(), QStringList{u"Permiso de acceso denegado"_s});
    seller.dialogs.clear();
    seller.session.Permisos = u"F3."_s;
    QTest::keyClick(loterias(), 'b');
    EXPECT_EQ(takeRan(), QStringList{run(C::AnularTicket, u"Cargado desde Ticket"_s)});
    EXPECT_TRUE(seller.dialogs.shown.empty());

    // the screen's own letters
    selectLotteries({0});
    screen->ticketView()->setFocus();
    press(Qt::Key_L);
    EXPECT_EQ(focused(), loterias());
    press(Qt::Key_Asterisk);
    EXPECT_EQ(loterias()->selectedItems(), QList{loterias()->item(1)});
    press(Qt::Key_Z);  // no special play is assigned
    EXPECT_FALSE(screen->isSpecialMode());
    EXPECT_TRUE(takeRan().isEmpty());

    // F1 needs no permission either: the help file beside the program, or a message
    press(Qt::Key_F1);
    const QString help = seller.installation.helpPath();
    EXPECT_EQ(seller.dialogs.texts(),
              (QStringList{u"Usted No tiene Jugadas Especiales Asignadas para Vender!... Revise "
                           u"Por Favor..."_s,
                           u"No se encuentra el archivo de ayuda "_s + help}));
    ASSERT_TRUE(QFile(help).open(QIODevice::WriteOnly));
    press(Qt::Key_F1);
    EXPECT_EQ(seller.launcher.opened, QStringList{help});
}

// A guarded command needs the first three characters of its button's code anywhere in the
// seller's permissions.
TEST_F(SalesKeysTest, GuardedCommandsNeedTheirCodeAnywhereInThePermissions) {
    open();
    const std::pair<QString, bool> cases[] = {
        {QString(), false},
        {u"F2F3F4F5F6F7F10F1"_s, false},         // "F2" is not "F2.", nor "F1" "F11"
        {u"xF2.F3.F4.F5.F6.F7.F11F12"_s, true},  // codes at no multiple of three
        {QString(970, u'-') + u"F2.F3.F4.F5.F6.F7.F11F12"_s, true},  // a list of 1,000
        {u"f2.f3.f4.f5.f6.f7.f11f12"_s, true},
    };
    for (const auto& [permisos, granted] : cases) {
        seller.session.Permisos = permisos;
        seller.dialogs.clear();
        loterias()->setFocus();
        QStringList expected, denied;
        for (const int key : {Qt::Key_F2, Qt::Key_F3, Qt::Key_F4, Qt::Key_F5, Qt::Key_F6,
                              Qt::Key_F7, Qt::Key_F11, Qt::Key_F12}) {
            press(key);
            expected << run(functionKeyCommand(key)->command, u"Venta Normal"_s);
            denied << u"I|Atención!|Permiso de acceso denegado"_s;
        }
        EXPECT_EQ(takeRan(), granted ? expected : QStringList()) << permisos.toStdString();
        EXPECT_EQ(shown(), granted ? QStringList() : denied) << permisos.toStdString();
    }
    // the buttons carry the same codes
    seller.session.Permisos = u"F5."_s;
    seller.dialogs.clear();
    for (const char* button : {"XPButton5", "XPButton10", "XPButton2", "XPButton8"})
        control<QPushButton>(button)->click();
    EXPECT_EQ(takeRan(),
              (QStringList{run(C::Calculadora, u"Venta Normal"_s), run(C::Series, u"Series"_s)}));
    EXPECT_EQ(seller.dialogs.texts(),
              (QStringList{u"Permiso de acceso denegado"_s,
                           // terminales need a ticket with triples
                           u"No Hay Triples para Vender los Terminales... Verifique por Favor"_s}));
}

// "/" goes to the ticket list, on its last row, where Delete takes plays off. Esc issues only
// in working mode "0"; a removal switches the mode to "1", where Esc removes by lottery and
// "D" (or XPButton18) still issues; the issue restores the mode of the login.
TEST_F(SalesKeysTest, SlashGoesToTheTicketAndDIssuesItWhateverTheWorkingMode) {
    open();
    press(Qt::Key_Slash);  // an empty ticket: nothing to go to
    EXPECT_EQ(focused(), loterias());
    selectLotteries({0, 1});
    press(Qt::Key_F9);
    sell(u"5"_s, u"3"_s);
    press(Qt::Key_Slash);  // in the number field "/" is only discarded
    EXPECT_EQ(focused(), control("NumeroJugar"));
    loterias()->setFocus();
    press(Qt::Key_Slash);
    EXPECT_EQ(focused(), screen->ticketView());
    const auto selected = screen->ticketView()->selectionModel()->selectedRows();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected[0].row(), 1);
    loterias()->setFocus();
    control<QPushButton>("XPButton22")->click();
    EXPECT_EQ(focused(), screen->ticketView());

    seller.session.ModoTrabajo = u"1"_s;
    press(Qt::Key_Escape);
    QPointer<QWidget> form13 = secondary("Form13");
    ASSERT_TRUE(form13);
    QTest::keyClick(form13->focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(form13 && form13->isVisible());
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.tickets"_s), u"0"_s);
    screen->ticketView()->setFocus();
    press(Qt::Key_D);
    EXPECT_EQ(db.value(u"SELECT monto::float8 FROM central.tickets"_s), u"6"_s);
    EXPECT_EQ(screen->ticket().rowCount(), 0);
    EXPECT_EQ(seller.session.ModoTrabajo, u"0"_s);

    sell(u"6"_s, u"3"_s);
    seller.session.ModoTrabajo = u"1"_s;
    control<QPushButton>("XPButton18")->click();
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.tickets"_s), u"2"_s);
}

class SpecialModeTest : public SalesKeysTest {
  protected:
    SpecialModeTest() { db.seedSpecial(); }
    QListWidget* list(const char* name) { return control<QListWidget>(name); }
    // "number | lottery | amount | item | kind | special column" of every row.
    QStringList specialRows() {
        QStringList out = rows();
        const TicketModel& m = screen->ticket();
        for (int r = 0; r < out.size(); ++r)
            out[r] += u" | "_s + m.index(r, 6).data().toString() + u" | "_s +
                      m.index(r, 4).data().toString();
        return out;
    }
    // Which of the screen's parts are visible, in the order named.
    QString visible() {
        QString out;
        for (const char* name : {"Frame2", "Frame3", "NumeroJugar", "MONTO_JUGADA", "NUM_ULTICK"})
            out +=
                screen->findChild<QWidget*>(QString::fromLatin1(name))->isVisible() ? u'1' : u'0';
        return out;
    }
};

TEST_F(SpecialModeTest, ASpecialPlayIsSoldOnEveryLotteryAndVariant) {
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
    EXPECT_EQ(focused()->objectName() + u'|' + control("Numero")->text() + u'|' +
                  control("Monto")->text(),
              u"Numero||20000"_s);

    // "+" from the number picks the next variant alone, "-" the one before; with the third
    // variant too, the quota of 100 runs out on the way
    keys({Qt::Key_Plus, Qt::Key_Plus, Qt::Key_Minus});
    EXPECT_EQ(screen->specialSelection().variantCodes(), u"2"_s);
    list("List2")->item(2)->setSelected(true);
    typeKeys(u"123"_s);
    {
        // Tab takes the last play's amount whole, even in a window that lost its activation
        AnotherWindowActive other(screen.get());
        press(Qt::Key_Tab);
        EXPECT_EQ(focused(), control("Monto"));
        typeKeys(u"60000"_s);
    }
    press(Qt::Key_Return);
    EXPECT_EQ(seller.dialogs.last().title, u"KALVORA ON LINE - Números Agotados"_s);
    EXPECT_EQ(specialRows().mid(4),
              (QStringList{u"123 | AAA - ALFA | 60,00 | 5 | 2 | COMBINADA"_s,
                           u"123 | AAA - ALFA | Sin Cupo | 6 | 2 | CON SERIE"_s,
                           u"123 | BBB - BETA | 60,00 | 7 | 2 | COMBINADA"_s,
                           u"123 | BBB - BETA | Sin Cupo | 8 | 2 | CON SERIE"_s}));

    keys({Qt::Key_Escape, Qt::Key_Escape});  // out of special mode, then the ticket is issued
    EXPECT_EQ(db.value(u"SELECT monto::float8 FROM central.tickets"_s), u"200"_s);
}

// Z opens the special entry, where nothing is sent without a lottery, a variant, a number and
// an amount, the letters have their own meanings, and Esc goes back.
TEST_F(SpecialModeTest, ZOpensTheSpecialEntryWhichSendsNothingIncompleteAndEscGoesBack) {
    open();
    EXPECT_EQ(control<QPushButton>("Command1")->text(), u"Z-TRI TRIPLETAS"_s);
    EXPECT_EQ(visible(), u"00111"_s);
    press(Qt::Key_Z);
    ASSERT_TRUE(screen->isSpecialMode());
    EXPECT_EQ(visible(), u"11000"_s);
    EXPECT_EQ(control<QGroupBox>("Frame2")->title(), u"TRI TRIPLETAS"_s);
    EXPECT_EQ(list("List1")->count(), 2);  // the catalogue's lists, tested on their own
    EXPECT_EQ(list("List2")->count(), 3);
    EXPECT_EQ(focused(), list("List1"));
    EXPECT_EQ(control<QRadioButton>("ESPNORMAL")->text(), u"(N)ormal"_s);

    // the straight play's list starts nothing in special mode
    loterias()->setFocus();
    keys({Qt::Key_4, Qt::Key_5, Qt::Key_Return, Qt::Key_1, Qt::Key_0, Qt::Key_0, Qt::Key_0,
          Qt::Key_0, Qt::Key_Return});
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.items_ticket"_s), u"0"_s);
    EXPECT_TRUE(seller.dialogs.shown.empty());
    list("List1")->setFocus();
    keys({Qt::Key_F9, Qt::Key_N, Qt::Key_4, Qt::Key_5, Qt::Key_Return, Qt::Key_5, Qt::Key_Return});
    EXPECT_EQ(shown(), QStringList{u"C|KALVORA ON LINE - PUNTO DE VENTA|Debe por lo menos "
                                   u"seleccionar una loteria"_s});
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

    // the special generators open through the registry with the selection of the panel
    list("List1")->setFocus();
    keys({Qt::Key_P, Qt::Key_S, Qt::Key_M});
    control<QRadioButton>("ESPEPERMUTA")->click();
    control<QPushButton>("Esterminal")->click();
    QStringList expected;
    for (const C c : {C::EspecialPermuta, C::EspecialSerie, C::EspecialTerminal, C::EspecialPermuta,
                      C::EspecialTerminal})
        expected << run(c, u"Especial"_s);
    EXPECT_EQ(takeRan(), expected);
    const SpecialSelection chosen = screen->specialSelection();
    EXPECT_EQ(chosen.especial + chosen.lotteryCodes() + chosen.variantCodes(), u"TRIBBB2"_s);

    list("List1")->setFocus();
    press(Qt::Key_Asterisk);  // the other lottery
    press(Qt::Key_J);
    EXPECT_EQ(focused(), list("List2"));
    press(Qt::Key_L);
    EXPECT_EQ(focused(), list("List1"));
    press(Qt::Key_1);  // a digit in a list starts the number
    EXPECT_EQ(focused(), control("Numero"));
    EXPECT_EQ(control("Numero")->text(), u"1"_s);
    EXPECT_EQ(screen->specialSelection().lotteryCodes(), u"AAA"_s);
    typeKeys(u"2x"_s);
    press(Qt::Key_Return);
    typeKeys(u"5000"_s);
    press(Qt::Key_Escape);
    EXPECT_FALSE(screen->isSpecialMode());
    EXPECT_EQ(visible(), u"00111"_s);
    EXPECT_EQ(control("Numero")->text() + control("Monto")->text(), QString());
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.items_ticket"_s), u"0"_s);
}

}  // namespace
