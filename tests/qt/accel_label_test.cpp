#include "app/qt/accel_label.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include "app/qt/design_font.h"

namespace ornet5 {
namespace {

constexpr QSize kLabelSize{385, 20};

TEST(AccelLabelText, AmpersandsAreMarksNotCharacters) {
    EXPECT_EQ(TAccelLabel::VisibleText(QString::fromUtf8("Измерение в мк&Р/ч")),
              QString::fromUtf8("Измерение в мкР/ч"));
    EXPECT_EQ(TAccelLabel::VisibleText(QString::fromUtf8("мк&Зв/ч")), QString::fromUtf8("мкЗв/ч"));
    EXPECT_EQ(TAccelLabel::VisibleText("a&&b"), "a&b");
    EXPECT_EQ(TAccelLabel::VisibleText("&&&A"), "&A");
    EXPECT_EQ(TAccelLabel::VisibleText("tail&"), "tail");
    EXPECT_EQ(TAccelLabel::VisibleText(""), "");
    EXPECT_EQ(TAccelLabel::VisibleText("plain"), "plain");
}

TEST(AccelLabelText, KeepsTheTextAsGiven) {
    TAccelLabel label;
    label.SetText(QString::fromUtf8("Измерение в мк&Р/ч"));
    EXPECT_EQ(label.Text(), QString::fromUtf8("Измерение в мк&Р/ч"));
    EXPECT_EQ(label.accessibleName(), QString::fromUtf8("Измерение в мкР/ч"));
    EXPECT_EQ(label.focusPolicy(), Qt::NoFocus);
    EXPECT_TRUE(label.testAttribute(Qt::WA_TransparentForMouseEvents));
}

class AccelLabelDrawing : public testing::Test {
  protected:
    AccelLabelDrawing() {
        label_.setFont(DesignFont({"MS Sans Serif", 16, true}));
        label_.setFixedSize(kLabelSize);
    }

    QImage Drawn(const QString& text) {
        label_.SetText(text);
        return label_.grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    // The text drawn literally, centred from the top, on the same background.
    QImage Literal(const QString& text) {
        QImage image(kLabelSize, QImage::Format_RGB32);
        image.fill(label_.palette().color(QPalette::Window));
        QPainter painter(&image);
        painter.setFont(label_.font());
        painter.setPen(label_.palette().color(QPalette::WindowText));
        painter.drawText(QRect(QPoint(0, 0), kLabelSize),
                         Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, text);
        return image;
    }

    TAccelLabel label_;
};

TEST_F(AccelLabelDrawing, DoubledAmpersandDrawsOneAmpersand) {
    EXPECT_EQ(Drawn("a&&b"), Literal("a&b"));
    EXPECT_EQ(Drawn("plain"), Literal("plain"));
}

TEST_F(AccelLabelDrawing, MarkedLetterIsUnderlinedAndTheMarkIsNotDrawn) {
    const QString visible = QString::fromUtf8("Измерение в мкР/ч");
    const QImage marked = Drawn(QString::fromUtf8("Измерение в мк&Р/ч"));
    const QImage literal = Literal(visible);
    ASSERT_NE(marked, literal);

    // Where the underlined letter lies: the text is centred.
    const QFontMetrics metrics(label_.font());
    const int textLeft = (kLabelSize.width() - metrics.horizontalAdvance(visible)) / 2;
    const int letterLeft =
        textLeft + metrics.horizontalAdvance(QString::fromUtf8("Измерение в мк"));
    const int letterRight = letterLeft + metrics.horizontalAdvance(QString::fromUtf8("Р"));
    const QRgb background = label_.palette().color(QPalette::Window).rgb();

    int extraPixels = 0;
    for (int y = 0; y < kLabelSize.height(); ++y) {
        for (int x = 0; x < kLabelSize.width(); ++x) {
            if (marked.pixel(x, y) == literal.pixel(x, y)) {
                continue;
            }
            // Every difference is the underline: under the letter, below
            // the letters' baseline, drawn where the literal text has none.
            EXPECT_GE(x, letterLeft - 2) << x << "," << y;
            EXPECT_LE(x, letterRight + 2) << x << "," << y;
            EXPECT_GE(y, metrics.ascent() - 1) << x << "," << y;
            EXPECT_EQ(literal.pixel(x, y), background) << x << "," << y;
            ++extraPixels;
        }
    }
    EXPECT_GE(extraPixels, (letterRight - letterLeft) / 2);
}

}  // namespace
}  // namespace ornet5
