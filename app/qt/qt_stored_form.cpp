#include "app/qt/qt_stored_form.h"

#include <algorithm>
#include <cmath>

#include <QAbstractButton>
#include <QComboBox>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>

#include "common/exception.h"

namespace ornet5 {

namespace {

// X11 keeps window coordinates in 16 bits; a stored position beyond them
// would wrap around.
int ScreenCoordinate(std::int32_t value) {
    return std::clamp<std::int32_t>(value, -32768, 32767);
}

bool SameName(const QString& a, std::string_view b) {
    return a.compare(QString::fromUtf8(b.data(), static_cast<qsizetype>(b.size())),
                     Qt::CaseInsensitive) == 0;
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

class TQtStoredForm::TControl : public TStoredControl {
  public:
    explicit TControl(QWidget& widget) : widget_(&widget) {}

    QWidget* Widget() const { return widget_; }

    std::string Name() const override { return Reached().objectName().toStdString(); }

    std::optional<TPropertyInfo> FindProperty(std::string_view name) const override {
        if (qobject_cast<QComboBox*>(&Reached()) != nullptr && SameName("ItemIndex", name)) {
            return TPropertyInfo{"ItemIndex", TPropertyKind::Integer};
        }
        if (qobject_cast<QAbstractButton*>(&Reached()) != nullptr && SameName("Checked", name)) {
            return TPropertyInfo{"Checked", TPropertyKind::Boolean};
        }
        return std::nullopt;
    }

    std::int32_t IntegerProperty(const TPropertyInfo&) const override {
        return ComboBox().currentIndex();
    }

    // An index that names no entry changes nothing: clearing the selection
    // would also clear the edit text, and an empty speed stops every poll.
    void SetIntegerProperty(const TPropertyInfo&, std::int32_t value) override {
        QComboBox& box = ComboBox();
        if (value >= 0 && value < box.count()) {
            box.setCurrentIndex(value);
        }
    }

    bool BooleanProperty(const TPropertyInfo&) const override { return Button().isChecked(); }

    void SetBooleanProperty(const TPropertyInfo&, bool value) override {
        QAbstractButton& button = Button();
        // Qt's own exclusivity would refuse to uncheck the checked button.
        const bool exclusive = button.autoExclusive();
        if (!value && exclusive) {
            button.setAutoExclusive(false);
        }
        button.setChecked(value);
        button.setAutoExclusive(exclusive);
    }

  private:
    QWidget& Reached() const {
        if (widget_.isNull()) {
            throw Exception("The control no longer exists");
        }
        return *widget_;
    }
    // A property of another kind of control is an error, never a null
    // reference.
    template <class TWidget>
    TWidget& Reached() const {
        auto* widget = qobject_cast<TWidget*>(&Reached());
        if (widget == nullptr) {
            throw Exception("The control has no such property");
        }
        return *widget;
    }
    QComboBox& ComboBox() const { return Reached<QComboBox>(); }
    QAbstractButton& Button() const { return Reached<QAbstractButton>(); }

    QPointer<QWidget> widget_;
};

TQtStoredForm::TQtStoredForm(QWidget& window, TBorderStyle borderStyle,
                             std::function<void(const std::exception&)> reportError)
    : window_(window),
      borderStyle_(borderStyle),
      reportError_(std::move(reportError)),
      pixelsPerInch_(ScreenPixelsPerInch()) {}

TQtStoredForm::~TQtStoredForm() = default;

std::string TQtStoredForm::ClassName() const {
    const std::string name = window_.metaObject()->className();
    const std::size_t scope = name.rfind("::");
    return scope == std::string::npos ? name : name.substr(scope + 2);
}

TStoredControl* TQtStoredForm::FindControl(std::string_view name) {
    for (QWidget* widget : window_.findChildren<QWidget*>()) {
        if (!SameName(widget->objectName(), name)) {
            continue;
        }
        const auto known = std::ranges::find_if(
            controls_, [widget](const auto& control) { return control->Widget() == widget; });
        if (known != controls_.end()) {
            return known->get();
        }
        controls_.push_back(std::make_unique<TControl>(*widget));
        return controls_.back().get();
    }
    return nullptr;
}

TWindowPlacement TQtStoredForm::Placement() const {
    TWindowPlacement placement;
    placement.flags = flags_;
    placement.showCmd = window_.isMinimized() ? 2 : window_.isMaximized() ? 3 : 1;
    placement.minPosition = minPosition_;
    placement.maxPosition = maxPosition_;
    placement.normalPosition = {Left(), Top(), Left() + Width(), Top() + Height()};
    return placement;
}

void TQtStoredForm::SetPlacement(const TWindowPlacement& placement) {
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

bool TQtStoredForm::Visible() const {
    return window_.isVisible();
}

bool TQtStoredForm::HandleAllocated() const {
    return window_.internalWinId() != 0;
}

std::int32_t TQtStoredForm::Left() const {
    return window_.pos().x();
}
std::int32_t TQtStoredForm::Top() const {
    return window_.pos().y();
}
std::int32_t TQtStoredForm::Width() const {
    return window_.frameGeometry().width();
}
std::int32_t TQtStoredForm::Height() const {
    return window_.frameGeometry().height();
}

std::int32_t TQtStoredForm::ScreenWidth() const {
    return ScreenSize().width();
}
std::int32_t TQtStoredForm::ScreenHeight() const {
    return ScreenSize().height();
}

// The window manager's frame around this window: its left and bottom
// borders, the same for every border kind; none without a window manager.
TPoint TQtStoredForm::FrameMetric(TFrameMetric) const {
    const QRect frame = window_.frameGeometry();
    const QRect client = window_.geometry();
    return {std::max(0, client.left() - frame.left()),
            std::max(0, frame.bottom() - client.bottom())};
}

void TQtStoredForm::ReportError(const std::exception& error) {
    if (reportError_) {
        reportError_(error);
    }
}

}  // namespace ornet5
