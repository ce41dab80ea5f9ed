#pragma once

#include <QTimer>

#include "serial/tick_source.h"

namespace ornet5 {

// Ticks from a Qt timer, delivered by the event loop of the thread that
// owns it (nested modal loops included).
class TQtTickSource : public TTickSource {
  public:
    TQtTickSource();

    void Start(std::chrono::milliseconds period, Handler handler) override;
    void Stop() override;
    bool IsRunning() const override { return timer_.isActive(); }

  private:
    void Tick();

    QTimer timer_;
    Handler handler_;
};

}  // namespace ornet5
