#include "app/qt/qt_tick_source.h"

#include <utility>

namespace ornet5 {

TQtTickSource::TQtTickSource() {
    // Coarse timers may drift by 5 %; the driver's receive poll is a 50 ms
    // period that should stay one.
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
}

void TQtTickSource::Start(std::chrono::milliseconds period, Handler handler) {
    handler_ = std::move(handler);
    timer_.start(period);
}

void TQtTickSource::Stop() {
    timer_.stop();
}

void TQtTickSource::Tick() {
    // The handler may restart or stop the source; keep this call's copy.
    const Handler handler = handler_;
    if (handler) {
        handler();
    }
}

}  // namespace ornet5
