#include "app/qt/bevel_panel.h"

#include <QPainter>

namespace ornet5 {
namespace {

// One bevel ring inside rect: topLeft colour along the top and left edges,
// bottomRight colour along the bottom and right edges.
void DrawBevel(QPainter& painter, const QRect& rect, const QColor& topLeft,
               const QColor& bottomRight) {
    painter.setPen(topLeft);
    painter.drawLine(rect.topLeft(), rect.topRight());
    painter.drawLine(rect.topLeft(), rect.bottomLeft());
    painter.setPen(bottomRight);
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    painter.drawLine(rect.topRight(), rect.bottomRight());
}

}  // namespace

TBevelPanel::TBevelPanel(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
}

void TBevelPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor shadow = palette().color(QPalette::Dark);
    const QColor light = palette().color(QPalette::Light);
    const QRect outer = rect();
    DrawBevel(painter, outer, shadow, light);
    DrawBevel(painter, outer.adjusted(1, 1, -1, -1), light, shadow);
}

}  // namespace ornet5
