#include "cash/expenses.h"
#include "../aftersale/printing_counter.h"
#include "cash/screens/expense_edit_screen.h"
#include "cash/screens/expenses_screen.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace vendura;
using namespace vendura::test;

namespace {

const QString kSaved = u"Movimiento Grabado Correctamente"_s;
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
             {{u"D1"_s, loan, u"-5"_s, u""_s}, kFields},
             {{u"D1"_s, loan, u"5,5"_s, u""_s}, kFields},
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
    // the amount field takes digits, one point and Backspace (typed keys are checked on the
    // edit screen)
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

class ExpenseScreensTest : public PrintingCounter {
  protected:
    ExpenseScreensTest() { login(); }
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

TEST_F(ExpenseScreensTest, AMovementTypedByKeysIsSavedAndAudited) {
    ExpenseEditScreen screen(seller.link, u"00012 - AGENCIA LA FORTUNA"_s, false);
    screen.show();
    QApplication::setActiveWindow(&screen);
    EXPECT_EQ(screen.windowTitle(), u"Actualiza Gastos"_s);
    EXPECT_EQ(control<QLabel>(&screen, "desdes")->text(), u"07/12/2026"_s);
    EXPECT_EQ(QApplication::focusWidget(), control(&screen, "txtnomov"));

    // Enter with nothing typed: the document number is asked for first
    QTest::keyClick(control(&screen, "txtnomov"), Qt::Key_Return);
    EXPECT_EQ(seller.dialogs.last().text, kNoNumber);
    EXPECT_EQ(seller.dialogs.last().icon, DialogIcon::Critical);
    type(control(&screen, "txtnomov"), u"D-100-ABCDEFG"_s);
    EXPECT_EQ(control(&screen, "txtnomov")->text(), u"D-100-ABCD"_s);
    QTest::keyClick(control(&screen, "txtnomov"), Qt::Key_Return);
    EXPECT_EQ(seller.dialogs.last().text, kFields);

    auto* kind = control<QComboBox>(&screen, "txtdescri_mov");
    kind->setFocus(Qt::OtherFocusReason);
    QTest::keyClicks(kind, u"2"_s);
    EXPECT_EQ(kind->currentText(), u"2.- Prestamo"_s);
    type(control(&screen, "txtmonto_mov"), u"1a2.5.3"_s);
    EXPECT_EQ(control(&screen, "txtmonto_mov")->text(), u"12.53"_s);
    QTest::keyClick(control(&screen, "txtmonto_mov"), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), control(&screen, "txtobserva_mov"));
    QTest::keyClicks(control(&screen, "txtobserva_mov"), u"caja chica"_s);
    QTest::keyClick(control(&screen, "txtobserva_mov"), Qt::Key_Return);
    EXPECT_EQ(seller.dialogs.last().text, kSaved);
    EXPECT_FALSE(screen.isVisible());
    EXPECT_EQ(saved(), u"D-100-ABCD 2 12.53 2026-12-07 caja chica"_s);
    EXPECT_EQ(db.auditActions().last(), u"GASTO_INCLUIDO|00012|"_s);

    // the same document number again is refused by the server
    ExpenseEditScreen again(seller.link, u"00012 - AGENCIA LA FORTUNA"_s, false);
    again.show();
    control(&again, "txtnomov")->setText(u"D-100-ABCD"_s);
    control<QComboBox>(&again, "txtdescri_mov")->setCurrentIndex(0);
    control(&again, "txtmonto_mov")->setText(u"5"_s);
    EXPECT_FALSE(again.grabar());
    EXPECT_EQ(seller.dialogs.last().text, u"Hubo problemas para actualizar registro"_s);
}

TEST_F(ExpenseScreensTest, TheListChangesAndDeletesTheDaysMovements) {
    ScriptedExpensesScreen list(seller.link);
    list.setVendorLabel(u"00012 - AGENCIA LA FORTUNA"_s);
    list.show();
    QApplication::setActiveWindow(&list);
    EXPECT_EQ(list.windowTitle(), u"Gastos del dia"_s);
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_FALSE(control<QPushButton>(&list, "Command1")->isEnabled());
    EXPECT_FALSE(control<QPushButton>(&list, "Command2")->isEnabled());

    list.script = [](ExpenseEditScreen& edit) {
        edit.findChild<QLineEdit*>(u"txtnomov"_s)->setText(u"R-7"_s);
        edit.findChild<QComboBox*>(u"txtdescri_mov"_s)->setCurrentIndex(4);
        edit.findChild<QLineEdit*>(u"txtmonto_mov"_s)->setText(u"25"_s);
        edit.grabar();
    };
    control<QPushButton>(&list, "Grabar")->click();
    ASSERT_EQ(list.rowCount(), 1);
    auto* grid = control<QTableWidget>(&list, "DataGrid1");
    EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), u"Nro. Gasto "_s);
    EXPECT_EQ(grid->item(0, 0)->text() + u"|"_s + grid->item(0, 1)->text() + u"|"_s +
                  grid->item(0, 2)->text(),
              u"R-7|4.- Couta diaria Presamo|25,00"_s);
    EXPECT_TRUE(control<QPushButton>(&list, "Command2")->isEnabled());

    list.script = [](ExpenseEditScreen& edit) {
        auto* number = edit.findChild<QLineEdit*>(u"txtnomov"_s);
        EXPECT_TRUE(number->isReadOnly());
        EXPECT_EQ(number->text(), u"R-7"_s);
        edit.findChild<QLineEdit*>(u"txtmonto_mov"_s)->setText(u"30.5"_s);
        edit.grabar();
    };
    control<QPushButton>(&list, "Command1")->click();
    EXPECT_EQ(saved(), u"R-7 4 30.50 2026-12-07 "_s);

    // another sales point's code in the label lists nothing
    list.setVendorLabel(u"00013 - AGENCIA EL TREBOL"_s);
    list.refresh();
    EXPECT_EQ(list.rowCount(), 0);
    list.setVendorLabel(u"00012 - AGENCIA LA FORTUNA"_s);
    list.refresh();

    seller.dialogs.answers = {false};
    control<QPushButton>(&list, "Command2")->click();
    EXPECT_EQ(seller.dialogs.last().text, u"Desea en realidad eliminar el Documento R-7?"_s);
    EXPECT_EQ(list.rowCount(), 1);
    seller.dialogs.answers = {true};
    control<QPushButton>(&list, "Command2")->click();
    EXPECT_EQ(seller.dialogs.last().text, u"Registro Eliminado con Exito!"_s);
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_TRUE(saved().isEmpty());
    EXPECT_EQ(db.auditActions().filter(u"GASTO_"_s),
              (QStringList{u"GASTO_INCLUIDO|00012|"_s, u"GASTO_MODIFICADO|00012|"_s,
                           u"GASTO_ELIMINADO|00012|"_s}));

    // a failed call has no number
    db.admin(u"REVOKE EXECUTE ON PROCEDURE public.dspgastos FROM vendura_puntos"_s);
    list.refresh();
    EXPECT_EQ(seller.dialogs.last().text,
              u"Ha ocurrido un error probablemente por la perdida de conexión con el servidor "
              u"por favor, salga de la aplicacion y vuelva a ingresar si el error persiste, "
              u"Gracias!"_s);
    EXPECT_TRUE(list.isVisible());
}

}  // namespace
