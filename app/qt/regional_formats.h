#pragma once

#include <QLocale>
#include <QString>

#include "measure/poll_values.h"

namespace ornet5 {

// The user's regional formats, from the system locale.
class TQtRegionalFormats : public TRegionalFormats {
  public:
    explicit TQtRegionalFormats(QLocale locale = QLocale::system());

    std::string DecimalSeparator() const override;
    std::string LongTimeNow() const override;

    QString LongTimeFormat() const { return longTimeFormat_; }

  private:
    QLocale locale_;
    QString longTimeFormat_;
};

// A Qt time format without its time-zone fields ("t" runs outside quoted
// text) and the blanks that separated them from the rest.
QString WithoutTimeZone(const QString& format);

}  // namespace ornet5
