// The after-sale calls that change money or state, each with its answer lost after the server
// committed it: the counter sends it again and takes the server's "already done" by this seller
// a moment ago for the answer that was lost.
#include "aftersale/cancellation.h"
#include "aftersale/customer_record.h"
#include "cash/expenses.h"
#include "printing_counter.h"

#include <gtest/gtest.h>

using namespace vendura;
using namespace vendura::test;

namespace {

class AfterSaleRecoveryTest : public PrintingCounter {
  protected:
    AfterSaleRecoveryTest() { login(); }
    // A ticket of the day sold and issued at this counter.
    QString soldTicket() {
        const QString ticket = seller.session.NroTicketTmp;
        EXPECT_EQ(seller.link
                      .callPositional(u"xcreanormal"_s, {u"00012"_s, u"1001"_s, u"123"_s, u"2"_s,
                                                         u"0"_s, u"AAA"_s, ticket})
                      .value()
                      .returnNumber(),
                  0);
        EXPECT_EQ(saveTicket(*seller.session.Conexion, ticket, u"77"_s, u"2"_s), 0);
        return ticket;
    }
};

TEST_F(AfterSaleRecoveryTest, ACancellationAMovementAndACustomerAreEachDoneOnce) {
    const QString ticket = soldTicket();
    seller.connector.loseAnswerOf({u"ANULATICKET"_s}, 1);  // the query passes, the cancel is cut
    EXPECT_EQ(TicketCancellation(seller.link).run(ticket, [](const TicketDetails&) {}),
              TicketCancellation::Outcome::Cancelled);
    EXPECT_EQ(seller.dialogs.texts().last(),
              u"El Ticket con el numero "_s + ticket + u" ha sido eliminado con exito!"_s);
    EXPECT_EQ(db.auditActions().filter(u"TICKET_ANULADO"_s).size(), 1);

    const expenses::Movement movement{u"D7"_s, u"0.- Pago Vendedor a Banca"_s, u"120"_s, {}};
    for (const expenses::Mode mode : {expenses::Mode::Add, expenses::Mode::Delete}) {
        seller.connector.loseAnswerOf({u"ACTGastos"_s});
        auto saved =
            expenses::call(seller.link, expenses::save(mode, movement, u"07/12/2026"_s, u"00012"_s),
                           expenses::savedBefore(mode, movement));
        ASSERT_TRUE(saved.ok());
        EXPECT_EQ(saved.value().returnText(), u"0"_s);
        EXPECT_EQ(db.value(u"SELECT count(*) FROM central.gastos"_s),
                  mode == expenses::Mode::Add ? u"1"_s : u"0"_s);
    }
    // a movement of the same number recorded long before is no repeat of this one
    db.admin(
        u"INSERT INTO central.gastos (cod_vendedor, nrogasto, tipo, descripcion, monto, "
        u"fecha, registrado) VALUES ('00012', 'D8', '0', '0.- Pago Vendedor a Banca', 120, "
        u"'2026-12-07', '2026-12-07 08:00')"_s);
    seller.connector.loseAnswerOf({u"ACTGastos"_s});
    const expenses::Movement again{u"D8"_s, movement.kind, movement.amount, {}};
    EXPECT_EQ(
        expenses::call(seller.link,
                       expenses::save(expenses::Mode::Add, again, u"07/12/2026"_s, u"00012"_s),
                       expenses::savedBefore(expenses::Mode::Add, again))
            .value()
            .returnText(),
        u"3"_s);

    seller.connector.loseAnswerOf({u"Cliente"_s});
    auto customer = CustomerRecord(seller.link).save({u"V-9"_s, u"ANA"_s, {}, {}});
    ASSERT_TRUE(customer.ok());
    EXPECT_TRUE(customer.value());
    EXPECT_EQ(seller.connector.faults.dropped, 5);
    EXPECT_TRUE(seller.dialogs.texts().filter(u"perdida de conexión"_s).isEmpty());
}

}  // namespace
