#include "sales_screen_fixture.h"

#include <QPushButton>
#include <QTableView>

#include <gtest/gtest.h>

using namespace vendura;
using namespace vendura::test;

namespace {

// Every command of another subsystem goes to the registry; each records what ran and the play
// label in force then.
class SalesKeysTest : public SalesScreenFixture {
  protected:
    SalesKeysTest() {
        const std::pair<SalesCommand, const char*> registered[] = {
            {SalesCommand::TicketsDelDia, "F2"},
            {SalesCommand::AnularTicket, "anular"},
            {SalesCommand::PagarTicket, "pagar"},
            {SalesCommand::Calculadora, "calc"},
            {SalesCommand::Parametros, "param"},
            {SalesCommand::Reportes, "reportes"},
            {SalesCommand::ActivarLoterias, "activar"},
            {SalesCommand::Resultados, "result"},
            {SalesCommand::Permutas, "permutas"},
            {SalesCommand::Series, "series"},
            {SalesCommand::Seguidillas, "seguid"},
            {SalesCommand::Posicionados, "posic"},
            {SalesCommand::Terminales, "termin"},
            {SalesCommand::RepetirPorLoteria, "repetir"},
            {SalesCommand::ALaSuerte, "suerte"},
            {SalesCommand::CargarTicket, "cargar"},
            {SalesCommand::EspecialPermuta, "esp-p"},
            {SalesCommand::EspecialSerie, "esp-s"},
            {SalesCommand::EspecialTerminal, "esp-m"},
        };
        for (const auto& [command, name] : registered) {
            const QString n = QString::fromLatin1(name);
            actions.set(command,
                        [this, n](SalesScreen& s) { ran << n + u':' + s.state().jugadaactual; });
        }
    }
    QStringList takeRan() { return std::exchange(ran, {}); }
    QListWidget* loterias() { return control<QListWidget>("L_Loterias"); }

    QStringList ran;
};

TEST_F(SalesKeysTest, NormalModeLettersRunTheirCommandsWithTheirPlayLabels) {
    open();
    seller.session.Permisos.clear();  // letters are never guarded
    const std::pair<char, const char*> keys[] = {
        {'S', "series:Series"},
        {'P', "permutas:sUper permutas"},
        {'O', "posic:pOsicionados"},
        {'T', "termin:los Terminales"},
        {'R', "repetir:Repetir x loteria"},
        {'G', "seguid:Repetir x loteria"},  // G leaves the label as it was
        {'A', "suerte:A la Suerte"},
        {'C', "cargar:Cargado desde Ticket"},
        {'B', "anular:Cargado desde Ticket"},
    };
    for (const auto& [key, expected] : keys) {
        loterias()->setFocus();
        QTest::keyClick(loterias(), key);
        QTest::keyClick(loterias(), char(QChar::fromLatin1(key).toLower().toLatin1()));
        EXPECT_EQ(takeRan(), QStringList(2, QString::fromLatin1(expected))) << expected;
    }
    EXPECT_TRUE(seller.dialogs.shown.empty());

    // the screen's own letters
    selectLotteries({0});
    screen->ticketView()->setFocus();
    press(Qt::Key_L);
    EXPECT_EQ(focused(), loterias());
    press(Qt::Key_Asterisk);
    EXPECT_FALSE(loterias()->item(0)->isSelected());
    EXPECT_TRUE(loterias()->item(1)->isSelected());
    press(Qt::Key_Z);  // no special play is assigned
    EXPECT_EQ(seller.dialogs.last().text,
              u"Usted No tiene Jugadas Especiales Asignadas para Vender!... Revise Por Favor..."_s);
    EXPECT_FALSE(screen->isSpecialMode());
    EXPECT_TRUE(takeRan().isEmpty());
}

// Inside the number and the amount the fields discard what is not theirs: no letter or sign of
// the tables acts there, while Esc and the function keys still do.
TEST_F(SalesKeysTest, InsideTheEntryFieldsNoCharacterKeyActs) {
    open();
    seller.session.Permisos = u"F2."_s;
    selectLotteries({0});
    press(Qt::Key_F9);
    control("NumeroJugar")->setFocus();
    typeKeys(u"1s*2D/3"_s);
    EXPECT_EQ(control("NumeroJugar")->text(), u"123"_s);
    press(Qt::Key_Return);
    typeKeys(u"5*l+0"_s);
    EXPECT_EQ(control("MONTO_JUGADA")->text(), u"50"_s);
    EXPECT_TRUE(loterias()->item(0)->isSelected());
    EXPECT_FALSE(loterias()->item(1)->isSelected());
    press(Qt::Key_F2);
    EXPECT_EQ(takeRan(), QStringList{u"F2:Venta Normal"_s});
    press(Qt::Key_Return);
    EXPECT_EQ(rows(), QStringList{u"123 | AAA - ALFA | 50,00 | 1"_s});
    EXPECT_EQ(focused(), control("NumeroJugar"));
    press(Qt::Key_Backtab);  // back to the lottery list, where the letters act again
    EXPECT_EQ(focused(), loterias());
    control("NumeroJugar")->setFocus();
    press(Qt::Key_Escape);  // Esc issues from the number field too
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.tickets"_s), u"1"_s);
}

// A guarded command needs the first three characters of its button's code anywhere in the
// seller's permissions; F1, F9 and the letters need nothing.
TEST_F(SalesKeysTest, GuardedCommandsNeedTheirCodeAnywhereInThePermissions) {
    open();
    const std::pair<Qt::Key, const char*> guarded[] = {
        {Qt::Key_F2, "F2"},       {Qt::Key_F3, "anular"},  {Qt::Key_F4, "pagar"},
        {Qt::Key_F5, "calc"},     {Qt::Key_F6, "param"},   {Qt::Key_F7, "reportes"},
        {Qt::Key_F11, "activar"}, {Qt::Key_F12, "result"},
    };
    struct Case {
        QString permisos;
        bool granted;
    } cases[] = {
        {QString(), false},
        {u"F2F3F4F5F6F7F10F1"_s, false},         // "F2" is not "F2.", nor "F1" "F11"
        {u"xF2.F3.F4.F5.F6.F7.F11F12"_s, true},  // codes at no multiple of three
        {QString(970, u'-') + u"F2.F3.F4.F5.F6.F7.F11F12"_s, true},  // a list of 1,000
        {u"f2.f3.f4.f5.f6.f7.f11f12"_s, true},
    };
    for (const Case& c : cases) {
        seller.session.Permisos = c.permisos;
        seller.dialogs.clear();
        loterias()->setFocus();
        for (const auto& [key, name] : guarded) press(key);
        QStringList expected;
        for (const auto& [key, name] : guarded)
            if (c.granted) expected << QString::fromLatin1(name) + u":Venta Normal"_s;
        EXPECT_EQ(takeRan(), expected) << c.permisos.right(30).toStdString();
        EXPECT_EQ(seller.dialogs.shown.size(), c.granted ? 0u : std::size(guarded));
        if (!c.granted) {
            EXPECT_EQ(seller.dialogs.last().text, u"Permiso de acceso denegado"_s);
            EXPECT_EQ(seller.dialogs.last().title, u"Atención!"_s);
        }
    }
    // the buttons carry the same codes
    seller.session.Permisos = u"F5."_s;
    control<QPushButton>("XPButton5")->click();
    control<QPushButton>("XPButton10")->click();
    EXPECT_EQ(takeRan(), QStringList{u"calc:Venta Normal"_s});
    EXPECT_EQ(seller.dialogs.last().text, u"Permiso de acceso denegado"_s);
    control<QPushButton>("XPButton2")->click();
    control<QPushButton>("XPButton8")->click();  // terminales need a ticket with triples
    EXPECT_EQ(takeRan(), QStringList{u"series:Series"_s});
    EXPECT_EQ(seller.dialogs.last().text,
              u"No Hay Triples para Vender los Terminales... Verifique por Favor"_s);
}

TEST_F(SalesKeysTest, F1OpensTheHelpFileBesideTheProgramOrSaysItIsMissing) {
    open();
    press(Qt::Key_F1);
    const QString help = seller.installation.helpPath();
    EXPECT_TRUE(seller.launcher.opened.isEmpty());
    EXPECT_EQ(seller.dialogs.last().text, u"No se encuentra el archivo de ayuda "_s + help);
    QFile file(help);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    press(Qt::Key_F1);
    EXPECT_EQ(seller.launcher.opened, QStringList{help});
}

// Esc issues only in working mode "0"; a removal switches the mode to "1", where Esc removes by
// lottery and "D" (or XPButton18) still issues; the issue restores the mode of the login.
TEST_F(SalesKeysTest, DIssuesTheTicketWhateverTheWorkingMode) {
    open();
    selectLotteries({0, 1});
    press(Qt::Key_F9);
    sell(u"5"_s, u"3"_s);
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

TEST_F(SalesKeysTest, SlashGoesToTheTicketListWherePlaysAreSelectedForRemoval) {
    open();
    press(Qt::Key_Slash);  // an empty ticket: nothing to go to
    EXPECT_EQ(focused(), loterias());
    selectLotteries({0});
    press(Qt::Key_F9);
    sell(u"1"_s, u"2"_s);
    sell(u"2"_s, u"2"_s);
    press(Qt::Key_Slash);  // in the number field "/" is only discarded
    EXPECT_EQ(focused(), control("NumeroJugar"));
    loterias()->setFocus();
    press(Qt::Key_Slash);
    EXPECT_EQ(focused(), screen->ticketView());
    const auto selected = screen->ticketView()->selectionModel()->selectedRows();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected[0].row(), 1);
    control<QPushButton>("XPButton22")->click();
    EXPECT_EQ(focused(), screen->ticketView());
}

}  // namespace
