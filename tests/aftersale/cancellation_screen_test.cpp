#include "aftersale/screens/cancellation_screen.h"
#include "app/aftersale_actions.h"
#include "sales_screen_fixture.h"

#include <QPushButton>
#include <QTimer>

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
    struct Case {
        const char* code;
        bool cancelling;
        const char* text;  // after "El Ticket con el numero 0000000042"
    };
    for (const Case& c :
         std::initializer_list<Case>{{"11", true, " no fue vendido por otro Vendedor!"},
                                     {"13", true, " ya ha sido eliminado!"},
                                     {"13", false, " ya ha sido eliminado!"},
                                     {"50", true, nullptr},
                                     {"14", true, nullptr},
                                     {"4", false, nullptr}}) {
        const QString expected =
            c.text ? u"El Ticket con el numero 0000000042"_s + QString::fromUtf8(c.text)
                   : QString();
        EXPECT_EQ(cancellationMessage(QString::fromLatin1(c.code), u"0000000042"_s, c.cancelling),
                  expected)
            << c.code << " " << c.cancelling;
    }
}

// F3, "b" and XPButton10 of the sales screen open the cancellation, F4 the payment and F12 the
// results, each through the registry and with its permission.
TEST_F(CancellationScreenTest, TheSalesScreensKeysOpenTheAfterSaleScreensWithTheirPermission) {
    form.reset();
    registerAfterSaleActions(actions, *printers, clock, seller.dir.path());
    QApplication::setActiveWindow(screen.get());
    screen->activateWindow();
    control<QListWidget>("L_Loterias")->setFocus();
    QStringList opened;
    auto watch = [&] {
        QTimer::singleShot(0, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            opened << (modal ? modal->objectName() + u" "_s + modal->windowTitle() : u"-"_s);
            if (modal) QTest::keyClick(modal, Qt::Key_Escape);
        });
    };
    press(Qt::Key_F3);  // 1001 may not: "A.-B.-F2."
    EXPECT_EQ(seller.dialogs.texts(), QStringList{u"Permiso de acceso denegado"_s});
    seller.session.Permisos += u"F3.F4.F12."_s;
    watch();
    press(Qt::Key_F3);
    watch();
    QTest::keyClick(focused(), 'b');
    watch();
    screen->findChild<QPushButton*>(u"XPButton10"_s)->click();
    watch();
    press(Qt::Key_F4);
    watch();
    press(Qt::Key_F12);
    EXPECT_EQ(opened, QStringList(3, u"Form18 Anulación de Tickets"_s) +
                          QStringList({u"pagaticket Cancelación de Tickets"_s,
                                       u"Verpremiados Visualizador de premios"_s}));
}

}  // namespace
