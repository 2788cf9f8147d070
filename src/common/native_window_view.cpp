#include "common/native_window_view.h"

#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QThread>
#include <QWindow>
#include <cmath>

#ifdef CIFRANO_HAVE_XCB
#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#endif

namespace cifrano {

namespace {

constexpr int kFrameReplyMilliseconds = 300;

#ifdef CIFRANO_HAVE_XCB

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeReply>;

xcb_connection_t* X11Connection() {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection,
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
        nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

xcb_window_t RootOf(xcb_connection_t* connection, xcb_window_t window) {
    const Reply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr));
    return tree ? tree->root : xcb_window_t(XCB_WINDOW_NONE);
}

// The window manager lists what it supports on the root window.
bool Supported(xcb_connection_t* connection, xcb_window_t root, xcb_atom_t feature) {
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, root, Atom(connection, "_NET_SUPPORTED"), XCB_ATOM_ATOM, 0,
                         4096),
        nullptr));
    if (!reply || reply->format != 32) return false;
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    for (int i = 0; i < count; ++i)
        if (atoms[i] == feature) return true;
    return false;
}

// _NET_FRAME_EXTENTS: left, right, top, bottom, in the display's pixels.
bool ReadFrameExtents(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t extents,
                      QMargins& margins) {
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, extents, XCB_ATOM_CARDINAL, 0, 4),
        nullptr));
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) != 16)
        return false;
    const auto* v = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    margins = QMargins(int(v[0]), int(v[2]), int(v[1]), int(v[3]));
    return true;
}

// Asks the window manager which frame it will give the still unmapped window
// (_NET_REQUEST_FRAME_EXTENTS) and waits a moment for its answer.
QMargins X11FrameBeforeShow(QWidget* window) {
    xcb_connection_t* connection = X11Connection();
    if (!connection) return {};
    const auto id = static_cast<xcb_window_t>(window->winId());
    const xcb_window_t root = RootOf(connection, id);
    const xcb_atom_t extents = Atom(connection, "_NET_FRAME_EXTENTS");
    const xcb_atom_t request = Atom(connection, "_NET_REQUEST_FRAME_EXTENTS");
    QMargins margins;
    if (ReadFrameExtents(connection, id, extents, margins)) return margins;
    if (root == XCB_WINDOW_NONE || !Supported(connection, root, request)) return {};

    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = id;
    message.type = request;
    xcb_send_event(connection, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
    // The window manager answers within a few milliseconds; without an
    // answer the window is placed as if it had no frame.
    const QDeadlineTimer deadline(kFrameReplyMilliseconds);
    while (!ReadFrameExtents(connection, id, extents, margins)) {
        if (deadline.hasExpired()) return {};
        QThread::usleep(1000);
    }
    return margins;
}

#endif

}  // namespace

QMargins ExpectedFrameMargins(QWidget* window) {
    if (window->isVisible()) {
        const QRect frame = window->frameGeometry();
        const QRect inner = window->geometry();
        const QMargins shown(inner.left() - frame.left(), inner.top() - frame.top(),
                             frame.right() - inner.right(), frame.bottom() - inner.bottom());
        if (!shown.isNull()) return shown;
    }
#ifdef CIFRANO_HAVE_XCB
    const QMargins device = X11FrameBeforeShow(window);
    const qreal ratio = window->devicePixelRatioF();
    const auto logical = [ratio](int pixels) { return int(std::lround(pixels / ratio)); };
    return QMargins(logical(device.left()), logical(device.top()), logical(device.right()),
                    logical(device.bottom()));
#else
    return {};
#endif
}

void KeepTitleBarEmpty(QWidget* window) {
#ifdef CIFRANO_HAVE_XCB
    xcb_connection_t* connection = X11Connection();
    if (!connection) return;
    // Qt writes the application's name as _NET_WM_NAME for an empty title;
    // WM_NAME already holds the empty title.
    const auto id = static_cast<xcb_window_t>(window->winId());
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, Atom(connection, "_NET_WM_NAME"),
                        Atom(connection, "UTF8_STRING"), 8, 0, nullptr);
    xcb_flush(connection);
#else
    Q_UNUSED(window);
#endif
}

}  // namespace cifrano
