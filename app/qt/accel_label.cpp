#include "app/qt/accel_label.h"

#include <QPainter>

namespace ornet5 {

TAccelLabel::TAccelLabel(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TAccelLabel::SetText(const QString& text) {
    if (text == text_) {
        return;
    }
    text_ = text;
    setAccessibleName(VisibleText(text_));
    update();
}

QString TAccelLabel::VisibleText(const QString& text) {
    QString visible;
    visible.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&') {
            ++i;
            if (i == text.size()) {
                break;
            }
        }
        visible.append(text[i]);
    }
    return visible;
}

void TAccelLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    // Qt's mnemonic drawing follows the same rules as the design's labels:
    // "&X" underlines X, "&&" draws "&". A trailing lone "&" is not drawn.
    painter.drawText(
        rect(), Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine | Qt::TextShowMnemonic, text_);
}

}  // namespace ornet5
