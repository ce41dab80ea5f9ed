#include "app/qt/qt_window_thread.h"

#include <utility>

namespace ornet5 {

void TQtWindowThread::Post(std::function<void()> call) {
    QMetaObject::invokeMethod(&receiver_, std::move(call), Qt::QueuedConnection);
}

}  // namespace ornet5
