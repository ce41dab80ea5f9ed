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

TEscapeKey::TEscapeKey() {
    if (qGuiApp != nullptr) {
        qGuiApp->installEventFilter(this);
    }
}

TEscapeKey::~TEscapeKey() {
    if (qGuiApp != nullptr) {
        qGuiApp->removeEventFilter(this);
    }
}

bool TEscapeKey::IsDown() {
    return X11State().value_or(lastSeenDown_);
}

bool TEscapeKey::ReadsX11KeyMap() {
    return X11State().has_value();
}

std::uint8_t TEscapeKey::X11KeyCode() {
    X11State();
    return x11KeyCode_.value_or(0);
}

std::optional<bool> TEscapeKey::X11State() {
    xcb_connection_t* connection = X11Connection();
    if (connection == nullptr) {
        return std::nullopt;
    }
    if (!x11KeyCode_) {
        x11KeyCode_ = LookUpEscapeKeyCode(connection);
    }
    if (*x11KeyCode_ == 0) {
        return std::nullopt;
    }
    TXcbReply<xcb_query_keymap_reply_t> keymap(
        xcb_query_keymap_reply(connection, xcb_query_keymap(connection), nullptr));
    if (!keymap) {
        return std::nullopt;
    }
    const std::uint8_t code = *x11KeyCode_;
    return (keymap->keys[code / 8] & (1u << (code % 8))) != 0;
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
