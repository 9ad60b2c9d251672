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
    QString key(const char* day) const {
        return db.value(u"SELECT central.clave_auditoria($1, '1001')"_s,
                        {QString::fromLatin1(day)});
    }
    // A new access screen; the key typed group by group, as the screen moves from one to the
    // next, and Enter.
    QDialog::DialogCode tryKey(const QString& key, int times = 1) {
        AuditAccessScreen screen(seller.link);
        screen.show();
        QApplication::setActiveWindow(&screen);
        EXPECT_EQ(screen.windowTitle(), u"Autenticación de Auditoria"_s);
        while (times-- > 0) {
            for (QChar c : QString(key).remove(u'-').toLower())
                QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        }
        EXPECT_EQ(screen.isVisible(), false);
        return QDialog::DialogCode(screen.result());
    }

    TestDatabase db;
    LoggedIn seller{db};
};

// The day's key opens; three wrong keys close the screen, and the server keeps the count:
// even the right key waits then.
TEST_F(JournalAuditTest, TheDaysKeyOpensAndThreeWrongKeysClose) {
    EXPECT_EQ(tryKey(key("2026-12-07")), QDialog::Accepted);
    EXPECT_TRUE(seller.dialogs.shown.empty());
    EXPECT_EQ(tryKey(key("2026-12-06"), 3), QDialog::Rejected);
    EXPECT_EQ(tryKey(key("2026-12-07")), QDialog::Rejected);
    const QString wrong = u"La clave de auditoría no es válida"_s,
                  locked = u"3 intentos fallidos, pruebe mas tarde!"_s;
    EXPECT_EQ(seller.dialogs.texts(), (QStringList{wrong, wrong, locked, locked}));
    const QString failed = u"AUDITORIA_FALLIDA|00012|1001"_s;
    EXPECT_EQ(db.auditActions().filter(u"AUDITORIA_"_s),
              (QStringList{u"AUDITORIA_ABIERTA|00012|1001"_s, failed, failed, failed,
                           u"AUDITORIA_BLOQUEADA|00012|1001"_s}));
}

// The viewer shows the day's journal descrambled, from a fresh working file it deletes when
// closed, and finds a ticket by its number.
TEST_F(JournalAuditTest, TheViewerShowsTheDaysJournalFindsATicketAndCleansUp) {
    const QString folder = seller.installation.journalFolder;
    Journal journal(journalPath(folder, 7, u"00012"_s, u"1001"_s), "1001");
    ASSERT_TRUE(journal.appendTicket({"Ticket: 0000000101", "ZULIA 347 2,00"}).ok());
    ASSERT_TRUE(journal.appendTicket({"Ticket: 0000000102", "Total Bs.: 5,00 \x82"}).ok());
    const QString working = journal_audit::workingFile(folder);
    ASSERT_TRUE(files::append(working, "left behind").ok());
    JournalViewerScreen viewer(seller.link, folder);
    viewer.show();
    QApplication::setActiveWindow(&viewer);
    EXPECT_EQ(viewer.windowTitle(), u"Auditar Tickets"_s);
    auto* text = viewer.findChild<QPlainTextEdit*>(u"RichTextBox1"_s);
    EXPECT_EQ(text->toPlainText(),
              u"Ticket: 0000000101\nZULIA 347 2,00\n \n \n \n \n"
              u"Ticket: 0000000102\nTotal Bs.: 5,00 é\n \n \n \n \n"_s);
    EXPECT_FALSE(files::read(working).value().contains("left behind"));

    auto* number = viewer.findChild<QLineEdit*>(u"Text1"_s);
    QTest::keyClicks(number, u"102"_s);
    QTest::keyClick(number, Qt::Key_Return);
    EXPECT_EQ(text->textCursor().selectedText(), u"0000000102"_s);
    EXPECT_EQ(text->textCursor().blockNumber(), 6);
    number->setText(u"999"_s);
    EXPECT_FALSE(viewer.find());
    EXPECT_EQ(seller.dialogs.last().text, u"No se encontró el ticket 999"_s);

    auto* day = viewer.findChild<QDateEdit*>(u"DTPicker1"_s);
    day->setDate(QDate(2026, 12, 6));  // a day without a journal shows nothing
    EXPECT_TRUE(text->toPlainText().isEmpty());
    day->setDate(QDate(2026, 12, 7));
    EXPECT_TRUE(files::exists(working));
    viewer.reject();
    EXPECT_FALSE(files::exists(working));
}

}  // namespace
