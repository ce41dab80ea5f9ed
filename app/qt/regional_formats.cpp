#include "app/qt/regional_formats.h"

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
    for (const QChar c : format) {
        if (c == u'\'') {
            quoted = !quoted;
        } else if (!quoted && c == u't') {
            // The blanks before the zone belonged to it.
            while (result.endsWith(u' ')) {
                result.chop(1);
            }
            continue;
        }
        result.append(c);
    }
    return result.trimmed();
}

}  // namespace ornet5
