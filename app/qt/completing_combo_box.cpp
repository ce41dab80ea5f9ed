#include "app/qt/completing_combo_box.h"

#include <QContextMenuEvent>
#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>

#include "app/combo_completion.h"

namespace ornet5 {

namespace {

bool RemovesText(const QKeyEvent& key) {
    return key.key() == Qt::Key_Backspace || key.key() == Qt::Key_Delete ||
           key.matches(QKeySequence::Cut) || key.matches(QKeySequence::DeleteEndOfWord) ||
           key.matches(QKeySequence::DeleteStartOfWord) ||
           key.matches(QKeySequence::DeleteEndOfLine) ||
           key.matches(QKeySequence::DeleteCompleteLine);
}

}  // namespace

TCompletingComboBox::TCompletingComboBox(std::span<const char* const> entries, int selected,
                                         QWidget* parent)
    : QComboBox(parent), entries_(entries) {
    setEditable(true);
    for (const char* entry : entries_) {
        addItem(QString::fromUtf8(entry));
    }
    setCurrentIndex(selected);
    // Completion is done here, inline, by the program's rule; Qt's own
    // completer would leave the index alone and its insert policy would
    // grow the list on Enter.
    setCompleter(nullptr);
    setInsertPolicy(QComboBox::NoInsert);
    lineEdit()->installEventFilter(this);
    connect(lineEdit(), &QLineEdit::textEdited, this, &TCompletingComboBox::OnTextEdited);
}

bool TCompletingComboBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lineEdit() && event->type() == QEvent::KeyPress) {
        removing_ = RemovesText(*static_cast<QKeyEvent*>(event));
    }
    if (watched == lineEdit() && event->type() == QEvent::ContextMenu) {
        ShowContextMenu(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    return QComboBox::eventFilter(watched, event);
}

// The line edit's own menu, whose Cut and Delete remove text as Backspace
// does. Their own handlers would run before any other, with no key to tell
// the change from typing, so they are replaced by handlers that say so.
void TCompletingComboBox::ShowContextMenu(const QPoint& at) {
    QMenu* menu = lineEdit()->createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (QAction* action : menu->actions()) {
        const QString command = action->text().section(u'\t', 0, 0);
        const bool cut = command == QLineEdit::tr("Cu&t");
        if (cut || command == QLineEdit::tr("Delete")) {
            QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
            connect(action, &QAction::triggered, this, [this, cut] {
                removing_ = true;
                cut ? lineEdit()->cut() : lineEdit()->del();
                removing_ = false;
            });
        }
    }
    menu->popup(at);
}

void TCompletingComboBox::OnTextEdited(const QString& text) {
    const TEditKind kind = removing_ ? TEditKind::Removed : TEditKind::Typed;
    removing_ = false;
    const TComboCompletion completion = CompleteComboText(text.toStdString(), kind, entries_);
    if (!completion.completed) {
        SelectKeepingText(completion.index, text, lineEdit()->cursorPosition());
        return;
    }
    setCurrentIndex(completion.index);
    const QString completed = itemText(completion.index);
    lineEdit()->setText(completed);
    lineEdit()->setSelection(static_cast<int>(completed.size()),
                             -static_cast<int>(completed.size() - text.size()));
}

void TCompletingComboBox::SelectKeepingText(int index, const QString& text, int cursor) {
    // Changing the index rewrites the edit field (to the entry, or to
    // nothing for -1); the typed text must survive that.
    if (currentIndex() != index) {
        setCurrentIndex(index);
    }
    if (lineEdit()->text() != text) {
        lineEdit()->setText(text);
    }
    lineEdit()->setCursorPosition(cursor);
}

}  // namespace ornet5
