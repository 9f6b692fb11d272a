#include "XConnection.h"

#include <QGuiApplication>

#include <xcb/xcb.h>
// Xlib last: its header defines words (None, Bool, Status) as macros.
#include <X11/Xlib.h>

#include <cstdlib>
#include <cstring>

namespace {

// A property of 32-bit items or of text as the server answers it; empty when the window has none.
std::string Property(xcb_connection_t* c, xcb_window_t window, uint32_t property, uint32_t type) {
    std::string value;
    xcb_get_property_reply_t* reply =
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, property, type, 0, 1024), nullptr);
    if (reply) {
        const int length = xcb_get_property_value_length(reply);
        if (reply->type == type && length > 0)
            value.assign(static_cast<const char*>(xcb_get_property_value(reply)), static_cast<size_t>(length));
        std::free(reply);
    }
    return value;
}

// Qt's X11 platform, when the program runs on it.
QNativeInterface::QX11Application* X11() {
    return qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
}

} // namespace

xcb_connection_t* XConnection() {
    auto* x11 = X11();
    return x11 ? x11->connection() : nullptr;
}

uint32_t XAtom(const char* name) {
    xcb_connection_t* c = XConnection();
    if (!c || !name)
        return 0;
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const uint32_t atom = reply ? reply->atom : 0;
    std::free(reply);
    return atom;
}

std::string XWindowManagerName() {
    xcb_connection_t* c = XConnection();
    if (!c)
        return {};
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    // A manager that runs names a window of its own on the root window, and that window names the manager.
    const std::string check = Property(c, root, XAtom("_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW);
    if (check.size() != sizeof(xcb_window_t))
        return {};
    xcb_window_t window = 0;
    std::memcpy(&window, check.data(), sizeof window);
    return Property(c, window, XAtom("_NET_WM_NAME"), XAtom("UTF8_STRING"));
}

// Qt hands such a title to Xlib, which asks the server for the atom the first time it is used. Asked while a window
// is shown, that round trip waits behind all the server has queued by then, and a start's first paint waits with it;
// asked at start-up, while the server is idle, it costs a moment, and Xlib keeps the answer.
void XInternTitleEncoding() {
    auto* x11 = X11();
    if (Display* display = x11 ? x11->display() : nullptr)
        XInternAtom(display, "COMPOUND_TEXT", False);
}
