#pragma once

#include <QString>
#include <QWidget>

namespace ornet5 {

// A fixed-size label that draws its text on one line, centred
// horizontally, from its top edge, on its parent's background. An
// ampersand marks the next character as an accelerator: "&X" is drawn as an
// underlined X and "&&" as a single "&"; the ampersand itself never shows.
// It takes no focus and lets every mouse event through to the window below,
// so a right click on it acts like a click on the window.
class TAccelLabel : public QWidget {
    Q_OBJECT

  public:
    explicit TAccelLabel(QWidget* parent = nullptr);

    QString Text() const { return text_; }
    void SetText(const QString& text);

    // The characters that are drawn, without the accelerator marks.
    static QString VisibleText(const QString& text);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString text_;
};

}  // namespace ornet5
