#pragma once

#include "sales_screen_fixture.h"

namespace vendura::test {

// The sales screen as this folder's tests read it. Every command of another subsystem but the
// seguidillas goes to the registry, which records the command and the play label then in force.
class SalesScreenTest : public SalesScreenFixture {
  protected:
    SalesScreenTest() {
        for (int c = int(SalesCommand::TicketsDelDia); c <= int(SalesCommand::Vuelto); ++c) {
            if (SalesCommand(c) == SalesCommand::Seguidillas) continue;
            actions.set(SalesCommand(c), [this, c](SalesScreen& s) {
                ran << run(SalesCommand(c), s.state().jugadaactual);
            });
        }
    }
    static QString run(SalesCommand command, const QString& label) {
        return QString::number(int(command)) + u':' + label;
    }
    QStringList takeRan() { return std::exchange(ran, {}); }
    // Each key on whatever has the focus when it is pressed.
    void keys(std::initializer_list<int> list) {
        for (const int key : list) press(key);
    }
    QListWidget* loterias() { return control<QListWidget>("L_Loterias"); }
    static QStringList entries(QListWidget* list) {
        QStringList out;
        for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
        return out;
    }
    QString total() { return label("TOT_TICKET"); }
    // "icon|title|text" of every box shown, the icon as its first letter (I, C, E, Q).
    QStringList shown() {
        QStringList out;
        for (const auto& s : seller.dialogs.shown)
            out << QString(u"-ICEQ"[int(s.icon)]) + u'|' + s.title + u'|' + s.text;
        return out;
    }
    QString live() {
        return db.value(
            u"SELECT string_agg(num_item::text, ' ' ORDER BY num_item) "
            u"FROM central.items_ticket WHERE vigente"_s);
    }

    QStringList ran;
};

}  // namespace vendura::test
