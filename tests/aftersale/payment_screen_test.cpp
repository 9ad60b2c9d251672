#include "aftersale/screens/payment_screen.h"
#include "aftersale/prize_payment.h"
#include "printing_counter.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace vendura;
using namespace vendura::test;

namespace {

const QString kYesterday = u"2026-12-06"_s;

class PaymentScreenTest : public PrintingCounter {
  protected:
    PaymentScreenTest() { enterResult(db, u"AAA"_s, kYesterday, u"123"_s); }

    void open() {
        login();
        screen = std::make_unique<PaymentScreen>(seller.link, *printers, clock, seller.dir.path());
        screen->show();
        QApplication::setActiveWindow(screen.get());
    }
    using PrintingCounter::control;
    template <typename W = QLineEdit>
    W* control(const char* name) {
        return control<W>(screen.get(), name);
    }
    QString label(const char* name) { return control<QLabel>(name)->text(); }
    void type(const QString& text) { QTest::keyClicks(focused(), text); }
    void enter() { QTest::keyClick(focused(), Qt::Key_Return); }
    // The ticket number, Enter, the serial, Enter: what a bar-code reader sends for the serial.
    void typeTicket(const QString& number, const QString& serial) {
        control("Text2")->setFocus();
        type(number);
        enter();
        type(serial);
        enter();
    }
    // 1,260.00: 123 x 2 on the triple and 23* x 1 on the terminal.
    QString winner(const QString& number = u"301"_s, const QString& serial = u"246813579"_s) {
        return issueTicket(db, number, serial, kYesterday, u"AAA 123 2; AAA 23* 1"_s);
    }
    void expectEmptyAndReady() {
        EXPECT_TRUE(control("Text1")->text().isEmpty());
        EXPECT_TRUE(control("Text2")->text().isEmpty());
        EXPECT_EQ(focused(), control("Text2"));
    }

    std::unique_ptr<PaymentScreen> screen;
};

TEST_F(PaymentScreenTest, ABarCodeReaderTypingTheSerialAndEnterPaysTheTicket) {
    const QString number = winner();
    open();
    seller.session.NombreVendedor = u"AGENCIA LA FORTUNA CON UN NOMBRE MUY LARGO DE VERDAD"_s;
    EXPECT_EQ(focused(), control("Text2"));
    type(u"301"_s);
    enter();
    EXPECT_EQ(focused(), control("Text1"));
    // what the reader sends: the digits of the bar code, then Enter
    type(u"246813579"_s);
    enter();

    EXPECT_EQ(seller.dialogs.texts(),
              (QStringList{u"Desea cancelar el ticket?"_s,
                           u"El Ticket con el serial 246813579 se ha registrado como cancelado con "
                           u"exito!, ahora se imprimirá el comprobante de retención"_s}));
    EXPECT_EQ(seller.dialogs.shown[0].title, u"Responda!"_s);
    EXPECT_EQ(seller.dialogs.shown[1].title, u"Atención!"_s);
    EXPECT_EQ((QStringList{label("Fecha_venta"), label("Hora_venta"), label("Estado_ticket"),
                           label("TOTal_TICKET1")}),
              (QStringList{u"06/12/2026"_s, u"09:30:00"_s, u"Activo"_s, u"1.260,00"_s}));
    expectEmptyAndReady();
    EXPECT_EQ(db.value(u"SELECT nroticket || ' ' || monto FROM central.pagos"_s),
              number + u" 1260.00"_s);

    // the voucher on the ticket printer in compressed print, 40 columns after the margin, with
    // the server's day and time of the payment; a sales point's name longer is cut
    auto row = [](const QString& label, const QString& value) {
        return u"  "_s + label + QString(40 - label.size() - value.size(), u' ') + value;
    };
    const QString rule = u"  "_s + QString(40, u'=');
    const QStringList voucher{u"  << KALVORA On Line >>"_s,
                              u"  AGENCIA LA FORTUNA CON UN NOMBRE MUY LAR"_s,
                              u"  AV. BOLIVAR, LOCAL 4"_s,
                              u"  R.I.F.: J-12345678-9  N.I.T.: 0012345678"_s,
                              rule,
                              u"        COMPROBANTE DE PAGO DE PREMIO"_s,
                              rule,
                              row(u"Ticket:"_s, u"301"_s),
                              row(u"Serial:"_s, u"246813579"_s),
                              row(u"Premio Bs.:"_s, u"1.260,00"_s),
                              row(u"Cedula/R.I.F.:"_s, QString()),
                              row(u"Nombre:"_s, QString()),
                              row(u"Fecha:"_s, u"07/12/2026"_s),
                              row(u"Hora:"_s, u"10:00:00"_s),
                              row(u"Usuario:"_s, u"1001 ANA PEREZ"_s),
                              rule,
                              u"   "_s,
                              u"  Recibi conforme:"_s,
                              u"   "_s,
                              u"  "_s + QString(40, u'_'),
                              u"   "_s};
    const QString out = printed();
    EXPECT_TRUE(out.startsWith(QChar(15)));
    EXPECT_TRUE(QString(out).remove(QChar(15)).contains(voucher.join(u"\r\n"_s)))
        << out.toStdString();
}

TEST_F(PaymentScreenTest, EveryRefusalEndsWithItsMessageAndEmptyFields) {
    winner(u"401"_s, u"41"_s);
    issueTicket(db, u"402"_s, u"42"_s, kYesterday, u"AAA 124 1"_s);
    const QString cancelled = winner(u"403"_s, u"43"_s);
    db.admin(
        u"UPDATE central.tickets SET anulado = 'S', estado = 'ELI', anulado_en = central.ahora() "
        u"WHERE nroticket = $1"_s,
        {cancelled});
    enterResult(db, u"AAA"_s, u"2026-12-01"_s, u"123"_s);
    issueTicket(db, u"404"_s, u"44"_s, u"2026-12-01"_s, u"AAA 123 1"_s);
    open();
    const std::vector<std::pair<QStringList, QString>> cases{
        {{u"402"_s, u"42"_s}, u"El Ticket con el serial 42 no esta premiado!"_s},
        {{u"403"_s, u"43"_s}, u"El Ticket con el serial 43 ha sido anulado!"_s},
        {{u"404"_s, u"44"_s}, u"El Ticket con el serial 44 esta caducado!"_s},
        {{u"401"_s, u"40"_s}, u"El Ticket con el serial 40 no existe!"_s},
        {{u"401"_s, u"ABCDEF"_s}, u"El Ticket con el serial ABCDEF no existe!"_s},
        {{u"401"_s, QString(30, u'4')},
         u"El Ticket con el serial "_s + QString(30, u'4') + u" no existe!"_s},
    };
    for (const auto& [typed, message] : cases) {
        SCOPED_TRACE(typed.join(u' ').toStdString());
        seller.dialogs.clear();
        typeTicket(typed[0], typed[1]);
        EXPECT_EQ(seller.dialogs.texts(), QStringList{message});
        expectEmptyAndReady();
    }
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.pagos"_s), u"0"_s);
}

TEST_F(PaymentScreenTest, AnsweringNoLeavesTheTicketOnScreenAndAPaidOneIsToldAsSuch) {
    winner();
    open();
    seller.dialogs.answers = {false};
    control("Text2")->setText(u"0000000301"_s);
    control("Text1")->setText(u"246813579"_s);
    control<QPushButton>("Eliminar")->click();
    EXPECT_EQ(seller.dialogs.texts(), QStringList{u"Desea cancelar el ticket?"_s});
    EXPECT_EQ(label("TOTal_TICKET1"), u"1.260,00"_s);
    EXPECT_EQ(control("Text1")->text(), u"246813579"_s);
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.pagos"_s), u"0"_s);

    // paid at another counter meanwhile: the data, then the message, and no question
    db.admin(
        u"INSERT INTO central.pagos VALUES ('0000000301', '00012', '1001', 1260, NULL, "
        u"'2026-12-07 09:00')"_s);
    seller.dialogs.clear();
    control<QPushButton>("Eliminar")->click();
    EXPECT_EQ(seller.dialogs.texts(),
              QStringList{u"El Ticket con el serial 246813579 ya fue registrado como pagado!"_s});
    EXPECT_EQ(label("Estado_ticket"), u"Activo"_s);
    EXPECT_TRUE(control("Text2")->text().isEmpty());
}

TEST_F(PaymentScreenTest, MissingFieldsAreReportedSerialFirstAndNeverReachTheServer) {
    open();
    control<QPushButton>("Eliminar")->click();
    EXPECT_EQ(seller.dialogs.texts(),
              QStringList{u"Debe escribir el serial que aparece en el ticket"_s});
    EXPECT_EQ(focused(), control("Text1"));
    type(u"123"_s);
    control<QPushButton>("Eliminar")->click();
    EXPECT_EQ(seller.dialogs.last().text, u"Debe escribir el Nro. del ticket"_s);
    EXPECT_EQ(focused(), control("Text2"));
    // Enter in an empty number field stays there; Enter in the serial needs both fields
    enter();
    EXPECT_EQ(focused(), control("Text2"));
    control("Text1")->setFocus();
    enter();
    EXPECT_EQ(seller.dialogs.shown.size(), 2u);
    EXPECT_EQ(db.auditActions().filter(u"PAGO_RECHAZADO"_s).size(), 0);
}

TEST_F(PaymentScreenTest, TheCustomerIsLookedUpOrSavedAndThePrizeIsPaidToThem) {
    winner();
    open();
    auto* cedula = control("Text6");
    cedula->setFocus();
    type(u"V-777"_s);
    enter();
    EXPECT_TRUE(control("Text5")->isEnabled());
    EXPECT_EQ(focused(), control("Text5"));
    EXPECT_EQ(control<QPushButton>("XPButton2")->text(), u"Grabar"_s);
    control<QPushButton>("XPButton2")->click();  // no name yet: the server refuses it
    EXPECT_EQ(seller.dialogs.last().text, u"Hubo problemas al registrar el cliente!"_s);
    EXPECT_EQ(seller.dialogs.last().icon, DialogIcon::Critical);
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.clientes"_s), u"0"_s);

    seller.dialogs.clear();
    control("Text5")->setFocus();
    type(u"MARIA LUNA DE LA SANTISIMA TRINIDAD PEREZ"_s);
    control("Text3")->setText(u"CALLE 3"_s);
    control("Text4")->setText(u"0412-1234567"_s);
    control<QPushButton>("XPButton2")->click();
    EXPECT_EQ(seller.dialogs.texts(), (QStringList{u"Dese grabar los datos del cliente?"_s,
                                                   u"Cliente registrado sin problemas"_s}));
    EXPECT_EQ(db.value(u"SELECT cedula || '/' || descripcion || '/' || cod_vendedor "
                       u"FROM central.clientes"_s),
              u"V-777/MARIA LUNA DE LA SANTISIMA TRINIDAD PEREZ/00012"_s);
    EXPECT_EQ(db.auditActions().last(), u"CLIENTE_GRABADO|00012|"_s);
    for (const char* f : {"Text6", "Text5", "Text3", "Text4"})
        EXPECT_TRUE(control(f)->text().isEmpty());
    EXPECT_FALSE(control("Text5")->isEnabled());
    EXPECT_EQ(focused(), control("Text2"));

    seller.dialogs.clear();
    cedula->setFocus();
    type(u"v-777"_s);
    enter();
    EXPECT_EQ(seller.dialogs.texts(), QStringList{u"Cliente Encontrado, desea continuar?"_s});
    EXPECT_EQ(
        (QStringList{control("Text5")->text(), control("Text3")->text(), control("Text4")->text()}),
        (QStringList{u"MARIA LUNA DE LA SANTISIMA TRINIDAD PEREZ"_s, u"CALLE 3"_s,
                     u"0412-1234567"_s}));

    typeTicket(u"301"_s, u"246813579"_s);
    EXPECT_EQ(db.value(u"SELECT cedula FROM central.pagos"_s), u"V-777"_s);
    // a name too long for the line goes under its label, cut to the width
    EXPECT_TRUE(QString(printed()).remove(QChar(15)).contains(
        u"  Nombre:\r\n  MARIA LUNA DE LA SANTISIMA TRINIDAD PERE\r\n"_s))
        << printed().toStdString();

    control<QPushButton>("XPButton3")->click();
    EXPECT_EQ(seller.session.CodigoCliente, u"0000"_s);
    EXPECT_FALSE(control<QGroupBox>("Frame1")->isVisible());
}

// The refusals the counter meets are checked on the payment screen; these are the others.
TEST(PaymentMessageTest, APaidTicketHasItsEndingAndAnUnknownCodeNone) {
    EXPECT_EQ(paymentMessage(u"6"_s, u"123"_s),
              u"El Ticket con el serial 123 ya ha sido cancelado!"_s);
    for (const QString& code : {u"12"_s, u""_s})
        EXPECT_TRUE(paymentMessage(code, u"123"_s).isEmpty());
}

}  // namespace
