#include "../aftersale/printing_counter.h"
#include "cash/expenses.h"
#include "cash/lottery_activation.h"
#include "cash/screens/expense_edit_screen.h"
#include "cash/screens/expenses_screen.h"
#include "cash/screens/lottery_activation_screen.h"
#include "sales/play_seller.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <array>

using namespace vendura;
using namespace vendura::test;

namespace {

const QString kNoNumber = u"Debe especificar el Nro. del Documento"_s;
const QString kFields = u"Debe llenar los campos correctamente"_s;
const QString kLimits =
    u"El monto debe ser menor que 10.000.000,00 y tener dos decimales a lo sumo"_s;

TEST(ExpenseRulesTest, WhatTheEditScreenRefusesBeforeCallingTheServer) {
    struct Case {
        expenses::Movement movement;
        std::optional<QString> problem;
    };
    const QString loan = u"2.- Prestamo"_s;
    for (const Case& c : std::vector<Case>{
             {{u"D1"_s, loan, u"150.5"_s, u""_s}, std::nullopt},
             {{u"D1"_s, u"4.- Couta diaria Presamo  "_s, u"9999999.99"_s, u""_s}, std::nullopt},
             {{u"  "_s, loan, u"150"_s, u""_s}, kNoNumber},
             {{u"D1"_s, loan, u"0"_s, u""_s}, kFields},
             {{u"D1"_s, loan, u"1.2.3"_s, u""_s}, kFields},
             {{u"D1"_s, u"5.- Regalo"_s, u"5"_s, u""_s}, kFields},
             {{u"D1"_s, loan, u"10000000"_s, u""_s}, kLimits},
             {{u"D1"_s, loan, u"1.005"_s, u""_s}, kLimits},
             {{u"12345678901"_s, loan, u"1"_s, u""_s},
              u"El Nro. del Documento tiene 10 caracteres a lo sumo"_s},
             {{u"D1"_s, loan, u"1"_s, QString(201, u'x')},
              u"La observación tiene 200 caracteres a lo sumo"_s},
         }) {
        EXPECT_EQ(expenses::problem(c.movement), c.problem)
            << c.movement.number.toStdString() << " " << c.movement.amount.toStdString();
    }
    // the amount field: Backspace, but no second point, comma, letter, sign or other digits
    EXPECT_TRUE(expenses::amountAccepts(u"12.5"_s, u'\b'));
    for (const QChar c : u".,a-\u0663"_s)
        EXPECT_FALSE(expenses::amountAccepts(u"12.5"_s, c)) << int(c.unicode());
}

// The edit screen a test drives instead of the modal one the list opens.
class ScriptedExpensesScreen : public ExpensesScreen {
  public:
    using ExpensesScreen::ExpensesScreen;
    std::function<void(ExpenseEditScreen&)> script;

  protected:
    void edit(bool modify, const expenses::Movement& movement) override {
        ExpenseEditScreen screen(link(), u"00012 - AGENCIA LA FORTUNA"_s, modify, movement, this);
        screen.show();
        if (script) script(screen);
    }
};

class CashScreensTest : public PrintingCounter {
  protected:
    CashScreensTest() { login(); }
    static void type(QWidget* field, const QString& keys) {
        field->setFocus(Qt::OtherFocusReason);
        QTest::keyClicks(field, keys);
    }
    QString saved() {
        return db.value(
            u"SELECT string_agg(nrogasto || ' ' || tipo || ' ' || monto || ' ' || fecha || ' ' "
            u"|| observacion, ' | ' ORDER BY nrogasto) FROM central.gastos"_s);
    }
};

// The day's movements as the seller keeps them: one typed by keys on the edit screen the list
// opens, the same number again, a change, another sales point's list, a deletion.
TEST_F(CashScreensTest, TheListAddsChangesAndDeletesTheDaysMovements) {
    ScriptedExpensesScreen list(seller.link);
    list.setVendorLabel(u"00012 - AGENCIA LA FORTUNA"_s);
    list.show();
    EXPECT_EQ(list.windowTitle(), u"Gastos del dia"_s);
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_FALSE(control<QPushButton>(&list, "Command2")->isEnabled());

    list.script = [this](ExpenseEditScreen& edit) {
        QApplication::setActiveWindow(&edit);
        EXPECT_EQ(edit.windowTitle(), u"Actualiza Gastos"_s);
        EXPECT_EQ(control<QLabel>(&edit, "desdes")->text(), u"07/12/2026"_s);
        QLineEdit* number = control(&edit, "txtnomov");
        EXPECT_EQ(QApplication::focusWidget(), number);
        // Enter with nothing typed: the document number is asked for first
        QTest::keyClick(number, Qt::Key_Return);
        EXPECT_EQ(seller.dialogs.last().text, kNoNumber);
        EXPECT_EQ(seller.dialogs.last().icon, DialogIcon::Critical);
        type(number, u"D-100-ABCDEFG"_s);
        EXPECT_EQ(number->text(), u"D-100-ABCD"_s);
        QTest::keyClick(number, Qt::Key_Return);
        EXPECT_EQ(seller.dialogs.last().text, kFields);
        auto* kind = control<QComboBox>(&edit, "txtdescri_mov");
        kind->setFocus(Qt::OtherFocusReason);
        QTest::keyClicks(kind, u"4"_s);
        EXPECT_EQ(kind->currentText(), u"4.- Couta diaria Presamo"_s);
        QLineEdit* amount = control(&edit, "txtmonto_mov");
        type(amount, u"2a5.5.3"_s);
        EXPECT_EQ(amount->text(), u"25.53"_s);
        QTest::keyClick(amount, Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), control(&edit, "txtobserva_mov"));
        QTest::keyClicks(control(&edit, "txtobserva_mov"), u"caja chica"_s);
        QTest::keyClick(control(&edit, "txtobserva_mov"), Qt::Key_Return);
        EXPECT_EQ(seller.dialogs.last().text, u"Movimiento Grabado Correctamente"_s);
        EXPECT_FALSE(edit.isVisible());
    };
    control<QPushButton>(&list, "Grabar")->click();
    EXPECT_EQ(saved(), u"D-100-ABCD 4 25.53 2026-12-07 caja chica"_s);
    ASSERT_EQ(list.rowCount(), 1);
    auto* grid = control<QTableWidget>(&list, "DataGrid1");
    EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), u"Nro. Gasto "_s);
    EXPECT_EQ(grid->item(0, 0)->text() + u"|"_s + grid->item(0, 1)->text() + u"|"_s +
                  grid->item(0, 2)->text(),
              u"D-100-ABCD|4.- Couta diaria Presamo|25,53"_s);
    EXPECT_TRUE(control<QPushButton>(&list, "Command2")->isEnabled());

    // the same number again is refused by the server; a change keeps the number
    list.script = [](ExpenseEditScreen& edit) {
        edit.findChild<QLineEdit*>(u"txtnomov"_s)->setText(u"D-100-ABCD"_s);
        edit.findChild<QComboBox*>(u"txtdescri_mov"_s)->setCurrentIndex(0);
        edit.findChild<QLineEdit*>(u"txtmonto_mov"_s)->setText(u"5"_s);
        EXPECT_FALSE(edit.grabar());
    };
    control<QPushButton>(&list, "Grabar")->click();
    EXPECT_EQ(seller.dialogs.last().text, u"Hubo problemas para actualizar registro"_s);
    list.script = [](ExpenseEditScreen& edit) {
        auto* number = edit.findChild<QLineEdit*>(u"txtnomov"_s);
        EXPECT_TRUE(number->isReadOnly());
        EXPECT_EQ(number->text(), u"D-100-ABCD"_s);
        edit.findChild<QLineEdit*>(u"txtmonto_mov"_s)->setText(u"30.5"_s);
        edit.grabar();
    };
    control<QPushButton>(&list, "Command1")->click();
    EXPECT_EQ(saved(), u"D-100-ABCD 4 30.50 2026-12-07 caja chica"_s);

    // another sales point's code in the label lists nothing
    list.setVendorLabel(u"00013 - AGENCIA EL TREBOL"_s);
    list.refresh();
    EXPECT_EQ(list.rowCount(), 0);
    list.setVendorLabel(u"00012 - AGENCIA LA FORTUNA"_s);
    list.refresh();

    seller.dialogs.answers = {false};
    control<QPushButton>(&list, "Command2")->click();
    EXPECT_EQ(seller.dialogs.last().text, u"Desea en realidad eliminar el Documento D-100-ABCD?"_s);
    EXPECT_EQ(list.rowCount(), 1);
    seller.dialogs.answers = {true};
    control<QPushButton>(&list, "Command2")->click();
    EXPECT_EQ(seller.dialogs.last().text, u"Registro Eliminado con Exito!"_s);
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_TRUE(saved().isEmpty());
    EXPECT_EQ(db.auditActions().filter(u"GASTO_"_s),
              (QStringList{u"GASTO_INCLUIDO|00012|"_s, u"GASTO_MODIFICADO|00012|"_s,
                           u"GASTO_ELIMINADO|00012|"_s}));
}

// Sales points 00012 (seller 1001) and 00013 (seller 2001) with lotteries AAA and BBB.
class ActivationServerTest : public ::testing::Test {
  protected:
    ActivationServerTest() {
        db.seedVendor();
        db.addVendor(u"00013"_s, u"2001"_s);
        db.seedLotteries();
        EXPECT_TRUE(fortuna.open(db.connectionText(u"00012"_s)).ok());
        EXPECT_TRUE(trebol.open(db.connectionText(u"00013"_s)).ok());
    }
    // What the sales screen lists open, "Dsplotactiva" lists, and the status of a straight play
    // of 123 for 5 on each lottery ("0": sold in full): "AAA BBB / AAA ALFA open, BBB BETA
    // closed / AAA:0 BBB:4".
    QString state(PqGateway& g, const QString& vendor, const QString& user) {
        QStringList open, listed, played;
        const RecordSet rows = g.exec(u"xdsplot '4', 'A'"_s).value().rows;
        for (int i = 0; i < rows.size(); ++i) open << rows.text(i, u"COD_LOT"_s);
        for (const ActivationEntry& e : activationEntries(Dsplotactiva(g, vendor).value().rows))
            listed << e.text() + (e.open ? u" open"_s : u" closed"_s);
        for (const QString& lot : {u"AAA"_s, u"BBB"_s}) {
            auto answer = g.call(
                xcreanormal(vendor, user, u"123"_s, Money::whole(5), 0, lot, db.newTicket(vendor)));
            played << lot + u":"_s +
                          (answer.value().rows.empty() ? u"0"_s : answer.value().rows.text(0, 3));
        }
        return open.join(u' ') + u" / "_s + listed.join(u", "_s) + u" / "_s + played.join(u' ');
    }
    QString activate(const QString& codes, const QString& flags) {
        auto answer = activaloterias(fortuna, u"00012"_s, {codes, flags});
        return answer ? answer.value().returnText() : answer.error().description;
    }

    TestDatabase db;
    PqGateway fortuna{5};
    PqGateway trebol{5};
};

TEST_F(ActivationServerTest, ADeactivatedLotteryIsClosedAtThatSalesPointOnly) {
    // a ticket open before the deactivation is still issued
    const QString ticket = db.newTicket(u"00012"_s);
    ASSERT_TRUE(fortuna
                    .call(xcreanormal(u"00012"_s, u"1001"_s, u"123"_s, Money::whole(5), 0, u"AAA"_s,
                                      ticket))
                    .ok());
    ASSERT_EQ(activate(u"AAABBB"_s, u"IA"_s), u"0"_s);
    EXPECT_EQ(saveTicket(fortuna, ticket, u"12345"_s, u"5"_s), 0);
    EXPECT_EQ(state(fortuna, u"00012"_s, u"1001"_s),
              u"BBB / AAA ALFA closed, BBB BETA open / AAA:4 BBB:0"_s);
    // the other sales point sells it as before
    EXPECT_EQ(state(trebol, u"00013"_s, u"2001"_s),
              u"AAA BBB / AAA ALFA open, BBB BETA open / AAA:0 BBB:0"_s);

    ASSERT_EQ(activate(u"AAABBB"_s, u"AA"_s), u"0"_s);
    EXPECT_EQ(state(fortuna, u"00012"_s, u"1001"_s),
              u"AAA BBB / AAA ALFA open, BBB BETA open / AAA:0 BBB:0"_s);
    EXPECT_EQ(db.auditActions().filter(u"LOTERIAS_ACTIVACION"_s),
              (QStringList{u"LOTERIAS_ACTIVACION|00012|"_s, u"LOTERIAS_ACTIVACION|00012|"_s}));

    // the central office's closed lotteries are not the sales point's to activate; a draw
    // closed for the day is still listed open
    db.admin(u"UPDATE central.loterias SET cerrada = true WHERE cod_lot = 'BBB'"_s);
    db.setClock(u"2026-12-07 23:30:00"_s);
    EXPECT_EQ(activationEntries(Dsplotactiva(fortuna, u"00012"_s).value().rows).size(), 1u);
    EXPECT_TRUE(activationEntries(Dsplotactiva(fortuna, u"00012"_s).value().rows)[0].open);
}

TEST_F(ActivationServerTest, ListsThatDoNotPairUpOrNameNoLotteryAreRefusedWhole) {
    const QString before = db.checksum();
    for (const auto& [codes, flags, error] : std::initializer_list<std::array<const char*, 3>>{
             {"AAABBB", "I", "no corresponden"},
             {"AAABBB", "IX", "A (activa) o I"},
             {"AAAAAA", "II", "aparece más de una vez"},
             {"AAAZZZ", "II", "La lotería ZZZ no existe"}}) {
        EXPECT_TRUE(activate(QString::fromLatin1(codes), QString::fromLatin1(flags))
                        .contains(QString::fromUtf8(error)))
            << codes << " " << flags;
        EXPECT_EQ(db.checksum(), before) << codes;
    }
    // another sales point's code: refused, audited, nothing else
    auto other = activaloterias(fortuna, u"00013"_s, {u"AAA"_s, u"I"_s});
    ASSERT_TRUE(other.ok());
    EXPECT_EQ(other.value().returnText(), u"1"_s);
    auto list = Dsplotactiva(fortuna, u"00013"_s);
    EXPECT_EQ(list.value().returnText(), u"1"_s);
    EXPECT_TRUE(list.value().rows.empty());
    EXPECT_EQ(db.checksum(), before);
    EXPECT_EQ(db.auditActions().filter(u"CUENTA_RECHAZADA"_s).size(), 2);
    // an empty list is a save that changes nothing
    EXPECT_EQ(activate(QString(), QString()), u"0"_s);
    EXPECT_EQ(db.checksum(), before);
}

// The screen of seller 1001, whose sales point also sells CCC and has BBB deactivated.
TEST_F(CashScreensTest, OpenLotteriesArePreselectedAndTheKeysChooseWhatIsSaved) {
    db.addLottery(u"CCC"_s, u"GAMA"_s, u"23:00"_s, u"100"_s, u"300"_s, 3);
    db.admin(u"INSERT INTO central.loterias_inactivas VALUES ('00012', 'BBB')"_s);
    std::unique_ptr<LotteryActivationScreen> screen;
    QListWidget* list = nullptr;
    auto open = [&] {
        screen = std::make_unique<LotteryActivationScreen>(seller.link);
        EXPECT_TRUE(screen->load());
        screen->show();
        QApplication::setActiveWindow(screen.get());
        list = screen->findChild<QListWidget*>(u"List1"_s);
    };
    auto selected = [&] {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            if (list->item(i)->isSelected()) out << list->item(i)->text();
        return out;
    };
    auto inactive = [&] {
        return db.value(
            u"SELECT string_agg(cod_lot, ' ' ORDER BY cod_lot) "
            u"FROM central.loterias_inactivas"_s);
    };
    open();
    EXPECT_EQ(screen->findChild<QLabel*>(u"Label1"_s)->text(), u"Seleccionar Loterias"_s);
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(1)->text(), u"BBB BETA"_s);
    EXPECT_EQ(selected(), (QStringList{u"AAA ALFA"_s, u"CCC GAMA"_s}));
    EXPECT_EQ(screen->focusWidget(), list);
    // a click on the label inverts the choice; Esc leaves without saving it
    QTest::mouseClick(screen->findChild<QLabel*>(u"Label1"_s), Qt::LeftButton);
    EXPECT_EQ(selected(), QStringList{u"BBB BETA"_s});
    QTest::keyClick(list, Qt::Key_Escape);
    EXPECT_FALSE(screen->isVisible());
    EXPECT_EQ(inactive(), u"BBB"_s);
    EXPECT_TRUE(seller.dialogs.shown.empty());

    open();
    QTest::keyClicks(list, u"*"_s);  // inverts too
    EXPECT_EQ(selected(), QStringList{u"BBB BETA"_s});
    // Space on the first entry takes it on; Enter goes to the save button, and Enter saves
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_EQ(selected(), (QStringList{u"AAA ALFA"_s, u"BBB BETA"_s}));
    QTest::keyClick(list, Qt::Key_Return);
    QWidget* button = screen->findChild<QPushButton*>(u"XPButton1"_s);
    ASSERT_EQ(screen->focusWidget(), button);
    QTest::keyClick(button, Qt::Key_Return);
    ASSERT_EQ(seller.dialogs.texts(), QStringList{u"Registros grabados sin problemas "_s});
    EXPECT_EQ(seller.dialogs.last().title, u"Atención!"_s);
    EXPECT_EQ(seller.dialogs.last().icon, DialogIcon::Information);
    EXPECT_FALSE(screen->isVisible());
    EXPECT_EQ(inactive(), u"CCC"_s);
}

}  // namespace
