#include "tests/qt/x11_fake_key.h"

#include <sys/uio.h>

#include <array>
#include <cstdlib>
#include <memory>

#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#include <xcb/xcbext.h>
#include <QGuiApplication>

namespace ornet5::test {
namespace {

// XTEST's FakeInput request, 36 bytes; xcb fills in the first four.
struct TFakeInputRequest {
    std::uint8_t majorOpcode;
    std::uint8_t minorOpcode;
    std::uint16_t length;
    std::uint8_t type;
    std::uint8_t detail;
    std::uint16_t pad0;
    std::uint32_t time;
    std::uint32_t root;
    std::array<std::uint8_t, 8> pad1;
    std::int16_t rootX;
    std::int16_t rootY;
    std::array<std::uint8_t, 7> pad2;
    std::uint8_t deviceId;
};
static_assert(sizeof(TFakeInputRequest) == 36);

constexpr std::uint8_t kFakeInputOpcode = 2;
constexpr std::uint8_t kKeyPress = 2;
constexpr std::uint8_t kKeyRelease = 3;

xcb_extension_t xtestExtension{"XTEST", 0};

}  // namespace

bool FakeX11Key(std::uint8_t keyCode, bool press) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 == nullptr ? nullptr : x11->connection();
    if (connection == nullptr) {
        return false;
    }
    const xcb_query_extension_reply_t* extension =
        xcb_get_extension_data(connection, &xtestExtension);
    if (extension == nullptr || !extension->present) {
        return false;
    }
    TFakeInputRequest request{};
    request.type = press ? kKeyPress : kKeyRelease;
    request.detail = keyCode;
    std::array<iovec, 3> parts{};
    parts[2].iov_base = &request;
    parts[2].iov_len = sizeof request;
    xcb_protocol_request_t protocol{1, &xtestExtension, kFakeInputOpcode, 1};
    const xcb_void_cookie_t cookie{
        xcb_send_request(connection, XCB_REQUEST_CHECKED, parts.data() + 2, &protocol)};
    std::unique_ptr<xcb_generic_error_t, decltype(&std::free)> error(
        xcb_request_check(connection, cookie), &std::free);
    return error == nullptr;
}

}  // namespace ornet5::test
