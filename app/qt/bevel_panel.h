#pragma once

#include <QWidget>

namespace ornet5 {

// A panel on its parent's background with a double one-pixel bevel: the
// outer edge lowered (shadow at top and left, light at bottom and right),
// the inner edge raised (the other way round).
class TBevelPanel : public QWidget {
    Q_OBJECT

  public:
    explicit TBevelPanel(QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace ornet5
