#include "app/qt/design_font.h"

#include <QStringList>

namespace ornet5 {
namespace {

QFont DesignFont(const QStringList& families, int pixelHeight, bool bold) {
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

}  // namespace

QFont SansSerifFont(int pixelHeight, bool bold) {
    return DesignFont({"MS Sans Serif", "Liberation Sans", "Arial"}, pixelHeight, bold);
}

QFont SerifFont(int pixelHeight, bool bold) {
    return DesignFont({"Times New Roman", "Liberation Serif"}, pixelHeight, bold);
}

}  // namespace ornet5
