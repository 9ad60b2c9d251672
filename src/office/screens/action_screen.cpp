#include "office/screens/action_screen.h"

#include "office/screens/action_form.h"
#include "office/screens/key_hook.h"
#include "office/screens/table_rows.h"
#include "platform/dialogs.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vendura::office {

ActionScreen::ActionScreen(AdminLink& link, Dialogs& dialogs, const QString& title,
                           const QStringList& headers, std::vector<OfficeAction> actions,
                           const QString& keysHelp, QWidget* parent)
    : QWidget(parent), link_(link), dialogs_(dialogs), title_(title) {
    summary_ = new QLabel(this);
    summary_->setObjectName(u"lblResumen"_s);
    list_ = new QTableWidget(0, int(headers.size()), this);
    list_->setObjectName(u"tblLista"_s);
    list_->setHorizontalHeaderLabels(headers);
    list_->horizontalHeader()->setStretchLastSection(true);
    list_->verticalHeader()->hide();
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    form_ = new ActionForm(link, dialogs, std::move(actions), this);
    connect(form_, &ActionForm::done, this, &ActionScreen::refresh);
    connect(list_, &QTableWidget::currentCellChanged, this, [this](int r, int, int, int) {
        if (r >= 0) rowChosen(row(r));
    });
    const std::pair<Qt::Key, bool> keys[] = {
        {Qt::Key_Return, false}, {Qt::Key_Enter, false}, {Qt::Key_Delete, true}};
    for (const auto& [key, remove] : keys) {
        new KeyHook(this, key, {list_}, [this, remove] {
            if (list_->currentRow() >= 0) rowKey(row(list_->currentRow()), remove);
        });
    }
    auto* left = new QVBoxLayout;
    left->addWidget(summary_);
    left->addWidget(list_, 1);
    auto* help = new QLabel(keysHelp, this);
    help->setWordWrap(true);
    left->addWidget(help);
    side_ = new QVBoxLayout;
    side_->addWidget(form_, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 3);
    layout->addLayout(side_, 2);
    setFocusProxy(list_);
}

void ActionScreen::showEvent(QShowEvent* event) {
    refresh();
    QWidget::showEvent(event);
}

void ActionScreen::refresh() {
    auto read = rows();
    if (!read) {
        dialogs_.message(DialogIcon::Critical, title_, read.error().description);
        return;
    }
    const int current = list_->currentRow();
    showRows(list_, read.value());
    list_->resizeColumnsToContents();
    if (current >= 0 && current < list_->rowCount()) list_->setCurrentCell(current, 0);
    summary_->setText(QString::number(list_->rowCount()) + u" fila(s)"_s);
}

QStringList ActionScreen::row(int index) const {
    QStringList texts;
    for (int c = 0; c < list_->columnCount(); ++c) {
        const QTableWidgetItem* item = list_->item(index, c);
        texts << (item ? item->text() : QString());
    }
    return texts;
}

}  // namespace vendura::office
