#include "aftersale/screens/cancellation_screen.h"
#include "sales_screen_fixture.h"

#include <QPushButton>

#include <gtest/gtest.h>

using namespace vendura;
using namespace vendura::test;

namespace {

// Form18 of seller 1001, whose sales point sold one ticket at 10:00 (7 for 10 on AAA and BBB).
class CancellationScreenTest : public SalesScreenFixture {
  protected:
    void SetUp() override {
        open();
        press(Qt::Key_F9);
        ticket = screen->state().nticket;
        control<QListWidget>("L_Loterias")->selectAll();
        sell(u"7"_s, u"10"_s);
        press(Qt::Key_Escape);
        ASSERT_EQ(db.value(u"SELECT count(*) FROM central.tickets"_s), u"1"_s);
        seller.dialogs.clear();
        form = std::make_unique<CancellationScreen>(seller.link, screen.get());
        form->show();
        QApplication::setActiveWindow(form.get());
    }
    QLineEdit* text1() { return form->findChild<QLineEdit*>(u"Text1"_s); }
    QString field(const char* name) {
        return form->findChild<QLabel*>(QString::fromLatin1(name))->text();
    }
    QStringList fields() {
        return {field("Fecha_venta"), field("Hora_venta"), field("Estado_ticket"),
                field("TOTal_TICKET1")};
    }
    // Types a number in Text1 and presses Enter.
    void enter(const QString& number) {
        text1()->clear();
        QTest::keyClicks(text1(), number);
        QTest::keyClick(text1(), Qt::Key_Return);
    }
    QString estado() {
        return db.value(u"SELECT estado FROM central.tickets WHERE nroticket = $1"_s, {ticket});
    }
    void expectToldAndReadyForTheNext(const QString& text) {
        ASSERT_FALSE(seller.dialogs.shown.empty());
        EXPECT_EQ(seller.dialogs.last().text, text);
        EXPECT_EQ(seller.dialogs.last().icon, DialogIcon::Information);
        EXPECT_EQ(seller.dialogs.last().title, u"Atención!"_s);
        EXPECT_TRUE(text1()->text().isEmpty());
        EXPECT_EQ(QApplication::focusWidget(), text1());
    }

    QString ticket;
    std::unique_ptr<CancellationScreen> form;
};

TEST_F(CancellationScreenTest, NoKeepsTheTicketAndItsDetailsAndYesCancelsIt) {
    EXPECT_EQ(QApplication::focusWidget(), text1());
    seller.dialogs.answers = {false};
    enter(ticket);
    ASSERT_EQ(seller.dialogs.shown.size(), 1u);
    const DialogRecorder::Shown& asked = seller.dialogs.shown[0];
    EXPECT_TRUE(asked.question);
    EXPECT_EQ(asked.text, u"Desea en realidad anular el ticket?"_s);
    EXPECT_EQ(asked.title, u"Responda!"_s);
    EXPECT_EQ(asked.icon, DialogIcon::Question);
    EXPECT_FALSE(asked.defaultYes);
    EXPECT_EQ(fields(), (QStringList{u"07/12/2026"_s, u"10:00:00"_s, u"Activo"_s, u"20,00"_s}));
    EXPECT_EQ(text1()->text(), ticket);
    EXPECT_EQ(estado(), u"ACT"_s);

    seller.dialogs.clear();
    enter(ticket);
    ASSERT_EQ(seller.dialogs.shown.size(), 2u);
    EXPECT_TRUE(seller.dialogs.shown[0].question);
    expectToldAndReadyForTheNext(u"El Ticket con el numero "_s + ticket +
                                 u" ha sido eliminado con exito!"_s);
    EXPECT_EQ(fields(), (QStringList{u"07/12/2026"_s, u"10:00:00"_s, u"Anulado"_s, u"20,00"_s}));
    EXPECT_EQ(estado(), u"ELI"_s);
    EXPECT_EQ(db.value(u"SELECT sum(vendido)::float8::text FROM central.ventas_numero"_s), u"0"_s);
}

TEST_F(CancellationScreenTest, EveryRefusalHasItsMessageAndAnEmptyFieldNeverReachesTheServer) {
    QTest::keyClick(text1(), Qt::Key_Return);
    expectToldAndReadyForTheNext(u"Debe escribir el serial que aparece en el ticket"_s);
    form->findChild<QPushButton*>(u"Eliminar"_s)->click();
    EXPECT_EQ(seller.dialogs.shown.size(), 2u);
    QTest::keyClicks(text1(), u"ABC"_s);  // the field takes digits only
    QTest::keyClick(text1(), Qt::Key_Return);
    expectToldAndReadyForTheNext(u"Debe escribir el serial que aparece en el ticket"_s);

    db.addVendor(u"00013"_s, u"2001"_s);
    const QString elsewhere = db.newTicket(u"00013"_s);
    db.admin(
        u"INSERT INTO central.tickets (nroticket, cod_vendedor, cod_usuario, serial, fecha, "
        u"hora, monto) VALUES ($1, '00013', '2001', 9, '2026-12-07', '10:00', 5)"_s,
        {elsewhere});
    const QString prefix = u"El Ticket con el numero "_s;

    enter(elsewhere);
    expectToldAndReadyForTheNext(prefix + elsewhere + u" no fue vendido por otro Vendedor!"_s);
    enter(u"9999999999"_s);
    expectToldAndReadyForTheNext(u"El ticket no existe"_s);

    db.setClock(u"2026-12-07 10:10:01"_s);
    enter(ticket);
    expectToldAndReadyForTheNext(
        prefix + ticket + u" no puede ser eliminado porque excedio el tiempo limite para ello!"_s);
    db.setClock(u"2026-12-07 10:05:00"_s);

    PqGateway counter(5);  // another counter of the sales point cancels it
    ASSERT_TRUE(counter.open(db.connectionText()).ok());
    ASSERT_EQ(counter.callPositional(u"ANULATICKET"_s, {ticket, u"00012"_s, u"1001"_s, u"1"_s})
                  .value()
                  .returnNumber(),
              0);
    // asked again it shows its details and says so, asking nothing
    seller.dialogs.clear();
    enter(ticket);
    ASSERT_EQ(seller.dialogs.shown.size(), 1u);
    expectToldAndReadyForTheNext(prefix + ticket + u" ya esta anulado!"_s);
    EXPECT_EQ(field("Estado_ticket"), u"Anulado"_s);
}

// The screen shows the texts of 0, 11, 12 and 50 as the seller meets them; these are the rest.
TEST(CancellationMessages, EachCodeOfTheServerHasItsTextInItsMode) {
    const QString n = u"0000000042"_s;
    const QString eliminated = u"El Ticket con el numero 0000000042 ya ha sido eliminado!"_s;
    EXPECT_EQ(cancellationMessage(u"13"_s, n, true), eliminated);
    EXPECT_EQ(cancellationMessage(u"13"_s, n, false), eliminated);
    for (const auto& [code, cancelling] : std::initializer_list<std::pair<QString, bool>>{
             {u"50"_s, true}, {u"14"_s, true}, {u"4"_s, false}})
        EXPECT_TRUE(cancellationMessage(code, n, cancelling).isEmpty()) << code.toStdString();
}

}  // namespace
