#pragma once

#include <QComboBox>
#include <QString>

namespace ornet5 {

// An editable drop-down combo box whose typed text completes to the first
// entry that begins with it, letter case ignored. The completed part is
// selected, so typing on replaces it: any text can still be typed, also
// numbers that the list does not offer. The selected index follows the
// text: the completed entry, or -1 when the text begins no entry.
class TCompletingComboBox : public QComboBox {
    Q_OBJECT

  public:
    explicit TCompletingComboBox(QWidget* parent = nullptr);

    // Index of the first entry that begins with text (case ignored), or -1;
    // an empty text begins no entry.
    int FindEntryBeginningWith(const QString& text) const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void OnTextEdited(const QString& text);
    void CompleteTo(int index, qsizetype typedLength);
    void SelectKeepingText(int index, const QString& text, int cursor);

    // Set while the key being handled removes text: completing then would
    // put back what the user just deleted.
    bool deleting_ = false;
};

}  // namespace ornet5
