#include "cash/lottery_activation.h"
#include "../aftersale/printing_counter.h"
#include "cash/screens/lottery_activation_screen.h"
#include "sales/play_seller.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace vendura;
using namespace vendura::test;

namespace {

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
    struct Case {
        const char* codes;
        const char* flags;
        const char* error;
    } cases[] = {
        {"AAABBB", "I", "no corresponden"},           {"AAAB", "IA", "no corresponden"},
        {"AAABBB", "IX", "A (activa) o I"},           {"AAAAAA", "II", "aparece más de una vez"},
        {"AAAZZZ", "II", "La lotería ZZZ no existe"},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(activate(QString::fromLatin1(c.codes), QString::fromLatin1(c.flags))
                        .contains(QString::fromUtf8(c.error)))
            << c.codes << " " << c.flags;
        EXPECT_EQ(db.checksum(), before) << c.codes;
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
class ActivationScreenTest : public PrintingCounter {
  protected:
    ActivationScreenTest() {
        db.addLottery(u"CCC"_s, u"GAMA"_s, u"23:00"_s, u"100"_s, u"300"_s, 3);
        db.admin(
            u"INSERT INTO central.loterias_inactivas (cod_vendedor, cod_lot) VALUES ('00012', 'BBB')"_s);
        login();
    }
    void open() {
        screen = std::make_unique<LotteryActivationScreen>(seller.link);
        EXPECT_TRUE(screen->load());
        screen->show();
        QApplication::setActiveWindow(screen.get());
    }
    QListWidget* list() { return screen->findChild<QListWidget*>(u"List1"_s); }
    QStringList selected() {
        QStringList out;
        for (int i = 0; i < list()->count(); ++i) {
            if (list()->item(i)->isSelected()) out << list()->item(i)->text();
        }
        return out;
    }
    QString inactive() {
        return db.value(
            u"SELECT string_agg(cod_lot, ' ' ORDER BY cod_lot) "
            u"FROM central.loterias_inactivas"_s);
    }
    void save() {
        QTest::mouseClick(screen->findChild<QPushButton*>(u"XPButton1"_s), Qt::LeftButton);
    }

    std::unique_ptr<LotteryActivationScreen> screen;
};

TEST_F(ActivationScreenTest, OpenLotteriesArePreselectedAndTheKeysChooseWhatIsSaved) {
    open();
    EXPECT_EQ(screen->findChild<QLabel*>(u"Label1"_s)->text(), u"Seleccionar Loterias"_s);
    ASSERT_EQ(list()->count(), 3);
    EXPECT_EQ(list()->item(1)->text(), u"BBB BETA"_s);
    EXPECT_EQ(selected(), (QStringList{u"AAA ALFA"_s, u"CCC GAMA"_s}));
    EXPECT_EQ(screen->focusWidget(), list());
    // a click on the label inverts the choice; Esc leaves without saving it
    QTest::mouseClick(screen->findChild<QLabel*>(u"Label1"_s), Qt::LeftButton);
    EXPECT_EQ(selected(), QStringList{u"BBB BETA"_s});
    QTest::keyClick(list(), Qt::Key_Escape);
    EXPECT_FALSE(screen->isVisible());
    EXPECT_EQ(inactive(), u"BBB"_s);
    EXPECT_TRUE(seller.dialogs.shown.empty());

    open();
    QTest::keyClicks(list(), u"*"_s);  // inverts too
    EXPECT_EQ(selected(), QStringList{u"BBB BETA"_s});
    // Space on the first entry takes it on; Enter goes to the save button, and Enter saves
    QTest::keyClick(list(), Qt::Key_Space);
    EXPECT_EQ(selected(), (QStringList{u"AAA ALFA"_s, u"BBB BETA"_s}));
    QTest::keyClick(list(), Qt::Key_Return);
    QWidget* button = screen->findChild<QPushButton*>(u"XPButton1"_s);
    ASSERT_EQ(screen->focusWidget(), button);
    QTest::keyClick(button, Qt::Key_Return);
    ASSERT_EQ(seller.dialogs.texts(), QStringList{u"Registros grabados sin problemas "_s});
    EXPECT_EQ(seller.dialogs.last().title, u"Atención!"_s);
    EXPECT_EQ(seller.dialogs.last().icon, DialogIcon::Information);
    EXPECT_FALSE(screen->isVisible());
    EXPECT_EQ(inactive(), u"CCC"_s);
}

TEST_F(ActivationScreenTest, AnEmptyAnswerLeavesTheListEmptyAndSavingSendsNothing) {
    db.admin(u"UPDATE central.loterias SET cerrada = true"_s);
    open();
    EXPECT_EQ(list()->count(), 0);
    save();
    EXPECT_EQ(seller.dialogs.texts(), QStringList{u"Registros grabados sin problemas "_s});
    EXPECT_EQ(inactive(), u"BBB"_s);
}

TEST_F(ActivationScreenTest, AFailedSaveGetsTheCommonMessageAndTheScreenStays) {
    open();
    db.admin(
        u"SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
        u"WHERE datname = current_database() AND usename <> 'postgres'"_s);
    save();
    ASSERT_EQ(seller.dialogs.shown.size(), 1u);
    EXPECT_TRUE(seller.dialogs.last().text.startsWith(u"Ha ocurrido un error probablemente"_s));
    EXPECT_TRUE(screen->isVisible());
    EXPECT_EQ(inactive(), u"BBB"_s);
}

}  // namespace
