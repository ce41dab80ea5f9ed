#include "app/qt/design_font.h"

#include <QStringList>

namespace ornet5 {

QFont DesignFont(const TDesignFont& design) {
    const QString face = QString::fromUtf8(design.face);
    QFont font;
    if (face == QStringLiteral("Times New Roman")) {
        font.setFamilies({face, QStringLiteral("Liberation Serif")});
    } else {
        font.setFamilies({face, QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    }
    font.setPixelSize(design.pixelHeight);
    font.setBold(design.bold);
    return font;
}

}  // namespace ornet5
