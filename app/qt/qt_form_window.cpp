#include "app/qt/qt_form_window.h"

#include <algorithm>
#include <cmath>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace ornet5 {

namespace {

// X11 keeps window coordinates in 16 bits; a stored position beyond them
// would wrap around.
int ScreenCoordinate(std::int32_t value) {
    return std::clamp<std::int32_t>(value, -32768, 32767);
}

std::int32_t ScreenPixelsPerInch() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen == nullptr
               ? 96
               : static_cast<std::int32_t>(std::lround(screen->logicalDotsPerInchY()));
}

QSize ScreenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen == nullptr ? QSize() : screen->size();
}

}  // namespace

TQtFormWindow::TQtFormWindow(QWidget& window, TBorderStyle borderStyle)
    : window_(window), borderStyle_(borderStyle), pixelsPerInch_(ScreenPixelsPerInch()) {}

TWindowPlacement TQtFormWindow::Placement() const {
    TWindowPlacement placement;
    placement.flags = flags_;
    placement.showCmd = window_.isMinimized() ? 2 : window_.isMaximized() ? 3 : 1;
    placement.minPosition = minPosition_;
    placement.maxPosition = maxPosition_;
    placement.normalPosition = {Left(), Top(), Left() + Width(), Top() + Height()};
    return placement;
}

void TQtFormWindow::SetPlacement(const TWindowPlacement& placement) {
    flags_ = placement.flags;
    minPosition_ = placement.minPosition;
    maxPosition_ = placement.maxPosition;
    const TRect& rect = placement.normalPosition;
    window_.move(ScreenCoordinate(rect.left), ScreenCoordinate(rect.top));
    const bool resizable = window_.minimumSize() != window_.maximumSize();
    if (resizable && rect.right > rect.left && rect.bottom > rect.top) {
        const QSize frameExtra = window_.frameGeometry().size() - window_.size();
        const std::int64_t width = std::int64_t{rect.right} - rect.left - frameExtra.width();
        const std::int64_t height = std::int64_t{rect.bottom} - rect.top - frameExtra.height();
        window_.resize(static_cast<int>(std::clamp<std::int64_t>(width, 1, QWIDGETSIZE_MAX)),
                       static_cast<int>(std::clamp<std::int64_t>(height, 1, QWIDGETSIZE_MAX)));
    }
}

bool TQtFormWindow::Visible() const {
    return window_.isVisible();
}

bool TQtFormWindow::HandleAllocated() const {
    return window_.internalWinId() != 0;
}

std::int32_t TQtFormWindow::Left() const {
    return window_.pos().x();
}
std::int32_t TQtFormWindow::Top() const {
    return window_.pos().y();
}
std::int32_t TQtFormWindow::Width() const {
    return window_.frameGeometry().width();
}
std::int32_t TQtFormWindow::Height() const {
    return window_.frameGeometry().height();
}

std::int32_t TQtFormWindow::ScreenWidth() const {
    return ScreenSize().width();
}
std::int32_t TQtFormWindow::ScreenHeight() const {
    return ScreenSize().height();
}

// The window manager's frame around this window: its left and bottom
// borders, the same for every border kind; none without a window manager.
TPoint TQtFormWindow::FrameMetric(TFrameMetric) const {
    const QRect frame = window_.frameGeometry();
    const QRect client = window_.geometry();
    return {std::max(0, client.left() - frame.left()),
            std::max(0, frame.bottom() - client.bottom())};
}

}  // namespace ornet5
