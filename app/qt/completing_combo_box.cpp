#include "app/qt/completing_combo_box.h"

#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>

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

TCompletingComboBox::TCompletingComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    // Completion is done here, inline, with the index rule above; Qt's own
    // completer would leave the index alone and its insert policy would
    // grow the list on Enter.
    setCompleter(nullptr);
    setInsertPolicy(QComboBox::NoInsert);
    lineEdit()->installEventFilter(this);
    connect(lineEdit(), &QLineEdit::textEdited, this, &TCompletingComboBox::OnTextEdited);
}

int TCompletingComboBox::FindEntryBeginningWith(const QString& text) const {
    if (text.isEmpty()) {
        return -1;
    }
    for (int i = 0; i < count(); ++i) {
        if (itemText(i).startsWith(text, Qt::CaseInsensitive)) {
            return i;
        }
    }
    return -1;
}

bool TCompletingComboBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lineEdit() && event->type() == QEvent::KeyPress) {
        deleting_ = RemovesText(*static_cast<QKeyEvent*>(event));
    }
    return QComboBox::eventFilter(watched, event);
}

void TCompletingComboBox::OnTextEdited(const QString& text) {
    const bool deleting = deleting_;
    deleting_ = false;
    const int entry = FindEntryBeginningWith(text);
    if (entry >= 0 && !deleting) {
        CompleteTo(entry, text.size());
        return;
    }
    // After a deletion the text stays as the user left it; it names an entry
    // only when it spells that entry out.
    const int exact = findText(text, Qt::MatchFixedString);
    const int index = entry >= 0 && exact >= 0 ? exact : -1;
    SelectKeepingText(index, text, lineEdit()->cursorPosition());
}

void TCompletingComboBox::CompleteTo(int index, qsizetype typedLength) {
    setCurrentIndex(index);
    const QString completed = itemText(index);
    lineEdit()->setText(completed);
    lineEdit()->setSelection(static_cast<int>(completed.size()),
                             -static_cast<int>(completed.size() - typedLength));
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
