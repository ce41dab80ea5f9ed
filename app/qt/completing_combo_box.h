#pragma once

#include <span>

#include <QComboBox>
#include <QString>

namespace ornet5 {

// An editable drop-down combo box whose typed text completes by the
// program's completion rule (CompleteComboText). The completed part is
// selected, so typing on replaces it: any text can still be typed, also
// numbers that the list does not offer. The selected index follows the
// text: the completed entry, or -1 when the text begins no entry.
class TCompletingComboBox : public QComboBox {
    Q_OBJECT

  public:
    // entries must outlive the box; selected is the entry shown at first.
    TCompletingComboBox(std::span<const char* const> entries, int selected, QWidget* parent);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ShowContextMenu(const QPoint& at);
    void OnTextEdited(const QString& text);
    void SelectKeepingText(int index, const QString& text, int cursor);

    std::span<const char* const> entries_;
    // Set while the key being handled removes text.
    bool removing_ = false;
};

}  // namespace ornet5
