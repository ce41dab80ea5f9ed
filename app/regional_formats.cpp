#include "app/regional_formats.h"

#include <utility>

#include <QTime>

namespace ornet5 {

TQtRegionalFormats::TQtRegionalFormats(QLocale locale)
    : locale_(std::move(locale)),
      longTimeFormat_(WithoutTimeZone(locale_.timeFormat(QLocale::LongFormat))) {}

std::string TQtRegionalFormats::DecimalSeparator() const {
    return locale_.decimalPoint().toStdString();
}

std::string TQtRegionalFormats::LongTimeNow() const {
    return locale_.toString(QTime::currentTime(), longTimeFormat_).toStdString();
}

QString WithoutTimeZone(const QString& format) {
    QString result;
    bool quoted = false;
    bool droppedZone = false;
    for (const QChar c : format) {
        if (c == u'\'') {
            quoted = !quoted;
        } else if (!quoted && c == u't') {
            // Blanks before the zone belonged to it.
            while (!droppedZone && result.endsWith(u' ')) {
                result.chop(1);
            }
            droppedZone = true;
            continue;
        }
        // Blanks right after a zone at the front belonged to it too.
        if (droppedZone && c == u' ' && result.isEmpty()) {
            continue;
        }
        droppedZone = false;
        result.append(c);
    }
    return result.trimmed();
}

}  // namespace ornet5
