#include "tickets/journal_audit.h"
#include "logged_in.h"
#include "platform/files.h"
#include "tickets/journal.h"
#include "tickets/screens/audit_access_screen.h"
#include "tickets/screens/journal_viewer_screen.h"

#include <QApplication>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

using namespace vendura;
using namespace vendura::test;

namespace {

class JournalAuditTest : public ::testing::Test {
  protected:
    JournalAuditTest() {
        db.seedVendor();
        db.seedLotteries();
        EXPECT_TRUE(seller.login());
        seller.dialogs.clear();
    }
    QString todaysKey() const {
        return db.value(u"SELECT central.clave_auditoria('2026-12-07', '1001')"_s);
    }
    // Types a key group by group, as the screen moves from one to the next, and Enter.
    static void typeKey(const QString& key) {
        for (QChar c : QString(key).remove(u'-').toLower()) {
            QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }

    TestDatabase db;
    LoggedIn seller{db};
};

TEST_F(JournalAuditTest, TheDaysKeyOpensAndThreeWrongKeysClose) {
    AuditAccessScreen good(seller.link);
    good.show();
    QApplication::setActiveWindow(&good);
    EXPECT_EQ(good.windowTitle(), u"Autenticación de Auditoria"_s);
    typeKey(todaysKey());
    EXPECT_EQ(good.result(), QDialog::Accepted);
    EXPECT_TRUE(seller.dialogs.shown.empty());

    AuditAccessScreen bad(seller.link);
    bad.show();
    QApplication::setActiveWindow(&bad);
    // yesterday's key is wrong today
    const QString yesterday = db.value(u"SELECT central.clave_auditoria('2026-12-06', '1001')"_s);
    for (int attempt = 1; attempt <= 3; ++attempt) typeKey(yesterday);
    EXPECT_EQ(seller.dialogs.texts(), (QStringList{u"La clave de auditoría no es válida"_s,
                                                   u"La clave de auditoría no es válida"_s,
                                                   u"3 intentos fallidos, pruebe mas tarde!"_s}));
    EXPECT_EQ(bad.result(), QDialog::Rejected);
    EXPECT_FALSE(bad.isVisible());

    // the server keeps the count: even the right key waits now
    seller.dialogs.clear();
    AuditAccessScreen later(seller.link);
    later.show();
    QApplication::setActiveWindow(&later);
    typeKey(todaysKey());
    EXPECT_EQ(seller.dialogs.texts(), QStringList{u"3 intentos fallidos, pruebe mas tarde!"_s});
    EXPECT_EQ(later.result(), QDialog::Rejected);
    EXPECT_EQ(db.auditActions().filter(u"AUDITORIA_"_s),
              (QStringList{u"AUDITORIA_ABIERTA|00012|1001"_s, u"AUDITORIA_FALLIDA|00012|1001"_s,
                           u"AUDITORIA_FALLIDA|00012|1001"_s, u"AUDITORIA_FALLIDA|00012|1001"_s,
                           u"AUDITORIA_BLOQUEADA|00012|1001"_s}));
}

TEST_F(JournalAuditTest, TheViewerShowsTheDaysJournalFindsATicketAndCleansUp) {
    const QString folder = seller.installation.journalFolder;
    Journal journal(journalPath(folder, 7, u"00012"_s, u"1001"_s), "1001");
    ASSERT_TRUE(journal.appendTicket({"Ticket: 0000000101", "ZULIA 347 2,00"}).ok());
    ASSERT_TRUE(journal.appendTicket({"Ticket: 0000000102", "Total Bs.: 5,00 \x82"}).ok());
    const QString working = journal_audit::workingFile(folder);
    ASSERT_TRUE(files::append(working, "left behind").ok());
    {
        JournalViewerScreen viewer(seller.link, folder);
        viewer.show();
        QApplication::setActiveWindow(&viewer);
        EXPECT_EQ(viewer.windowTitle(), u"Auditar Tickets"_s);
        auto* text = viewer.findChild<QPlainTextEdit*>(u"RichTextBox1"_s);
        EXPECT_TRUE(text->toPlainText().startsWith(u"Ticket: 0000000101\nZULIA 347 2,00\n \n"_s));
        EXPECT_TRUE(text->toPlainText().contains(u"Total Bs.: 5,00 é"_s));
        EXPECT_FALSE(files::read(working).value().contains("left behind"));

        QTest::keyClicks(viewer.findChild<QLineEdit*>(u"Text1"_s), u"102"_s);
        QTest::keyClick(viewer.findChild<QLineEdit*>(u"Text1"_s), Qt::Key_Return);
        EXPECT_EQ(text->textCursor().selectedText(), u"0000000102"_s);
        EXPECT_EQ(text->textCursor().blockNumber(), 6);
        viewer.findChild<QLineEdit*>(u"Text1"_s)->setText(u"999"_s);
        EXPECT_FALSE(viewer.find());
        EXPECT_EQ(seller.dialogs.last().text, u"No se encontró el ticket 999"_s);

        // a day without a journal shows nothing
        viewer.findChild<QDateEdit*>(u"DTPicker1"_s)->setDate(QDate(2026, 12, 6));
        EXPECT_TRUE(text->toPlainText().isEmpty());
        viewer.findChild<QDateEdit*>(u"DTPicker1"_s)->setDate(QDate(2026, 12, 7));
        EXPECT_TRUE(files::exists(working));
        viewer.reject();
        EXPECT_FALSE(files::exists(working));
    }
    EXPECT_FALSE(files::exists(working));
    EXPECT_EQ(journal_audit::joinGroups({u"ab12"_s, u" CD34"_s}), u"AB12-CD34"_s);
    EXPECT_EQ(journal_audit::searchText(u"abc"_s), u"abc"_s);
}

}  // namespace
