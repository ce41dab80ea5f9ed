#include "app/qt/escape_key.h"

#include <cstdlib>
#include <memory>

#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#include <QGuiApplication>
#include <QKeyEvent>

namespace ornet5 {
namespace {

constexpr xcb_keysym_t kEscapeKeySym = 0xff1b;

struct TFreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T>
using TXcbReply = std::unique_ptr<T, TFreeDeleter>;

xcb_connection_t* X11Connection() {
    auto* x11 = qGuiApp == nullptr ? nullptr
                                   : qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 == nullptr ? nullptr : x11->connection();
}

std::uint8_t LookUpEscapeKeyCode(xcb_connection_t* connection) {
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    TXcbReply<xcb_get_keyboard_mapping_reply_t> mapping(xcb_get_keyboard_mapping_reply(
        connection,
        xcb_get_keyboard_mapping(connection, setup->min_keycode, static_cast<uint8_t>(count)),
        nullptr));
    if (!mapping || mapping->keysyms_per_keycode == 0) {
        return 0;
    }
    const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(mapping.get());
    const int length = xcb_get_keyboard_mapping_keysyms_length(mapping.get());
    for (int i = 0; i < length; ++i) {
        if (keysyms[i] == kEscapeKeySym) {
            return static_cast<std::uint8_t>(setup->min_keycode + i / mapping->keysyms_per_keycode);
        }
    }
    return 0;
}

}  // namespace

TEscapeKey::TEscapeKey() : x11_(X11Connection()) {
    if (x11_ != nullptr) {
        x11KeyCode_ = LookUpEscapeKeyCode(x11_);
    }
    if (qGuiApp != nullptr) {
        qGuiApp->installEventFilter(this);
    }
}

TEscapeKey::~TEscapeKey() {
    if (qGuiApp != nullptr) {
        qGuiApp->removeEventFilter(this);
    }
}

bool TEscapeKey::IsDown() const {
    return X11State().value_or(lastSeenDown_);
}

bool TEscapeKey::ReadsX11KeyMap() const {
    return X11State().has_value();
}

std::optional<bool> TEscapeKey::X11State() const {
    if (x11_ == nullptr || x11KeyCode_ == 0) {
        return std::nullopt;
    }
    TXcbReply<xcb_query_keymap_reply_t> keymap(
        xcb_query_keymap_reply(x11_, xcb_query_keymap(x11_), nullptr));
    if (!keymap) {
        return std::nullopt;
    }
    return (keymap->keys[x11KeyCode_ / 8] & (1u << (x11KeyCode_ % 8))) != 0;
}

bool TEscapeKey::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && !key->isAutoRepeat()) {
            lastSeenDown_ = type == QEvent::KeyPress;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace ornet5
