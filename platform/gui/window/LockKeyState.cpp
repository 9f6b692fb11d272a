#include "LockKeyState.h"

#include "Keys.h"
#include "XConnection.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QPointer>

#include <xcb/xcb.h>
// The extension's header names a field "explicit", a word of C++.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit

#include <array>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* kIndicators[] = {"Caps Lock", "Num Lock", "Scroll Lock"};

// Hears the server tell of indicator changes on Qt's connection and reads the indicators again when asked next.
class IndicatorWatch : public QObject, public QAbstractNativeEventFilter {
public:
    IndicatorWatch(xcb_connection_t* c, uint8_t firstEvent) : m_connection(c), m_firstEvent(firstEvent) {
        // The names go out together and come back in one round trip: the status bar asks for them before the
        // window's first paint.
        std::array<xcb_intern_atom_cookie_t, 3> cookies{};
        for (size_t i = 0; i < cookies.size(); ++i)
            cookies[i] = xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(kIndicators[i])), kIndicators[i]);
        for (size_t i = 0; i < cookies.size(); ++i) {
            xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c, cookies[i], nullptr);
            m_atoms[i] = reply ? reply->atom : 0;
            std::free(reply);
        }
        // Only this event is added to what the connection hears from the extension: Qt's own choice stays.
        const uint16_t events = XCB_XKB_EVENT_TYPE_INDICATOR_STATE_NOTIFY | XCB_XKB_EVENT_TYPE_NEW_KEYBOARD_NOTIFY;
        xcb_xkb_select_events_details_t none{};
        xcb_xkb_select_events(c, XCB_XKB_ID_USE_CORE_KBD, events, 0, events, 0, 0, &none);
        xcb_flush(c);
    }

    bool IsOn(size_t index) {
        if (m_stale)
            Read();
        return m_on[index];
    }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
        if (eventType != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7F) != m_firstEvent)
            return false;
        const auto* xkb = reinterpret_cast<const xcb_xkb_indicator_state_notify_event_t*>(event);
        if (xkb->xkbType == XCB_XKB_INDICATOR_STATE_NOTIFY || xkb->xkbType == XCB_XKB_NEW_KEYBOARD_NOTIFY)
            m_stale = true;
        // Qt reads the extension's events too.
        return false;
    }

private:
    void Read() {
        m_stale = false;
        std::array<xcb_xkb_get_named_indicator_cookie_t, 3> cookies{};
        for (size_t i = 0; i < cookies.size(); ++i)
            cookies[i] =
                xcb_xkb_get_named_indicator(m_connection, XCB_XKB_ID_USE_CORE_KBD, XCB_XKB_LED_CLASS_DFLT_XI_CLASS,
                                            XCB_XKB_ID_DFLT_XI_ID, m_atoms[i]);
        for (size_t i = 0; i < cookies.size(); ++i) {
            xcb_xkb_get_named_indicator_reply_t* reply =
                xcb_xkb_get_named_indicator_reply(m_connection, cookies[i], nullptr);
            m_on[i] = reply && reply->found && reply->on;
            std::free(reply);
        }
    }

    xcb_connection_t* m_connection;
    uint8_t m_firstEvent;
    std::array<uint32_t, 3> m_atoms{};
    std::array<bool, 3> m_on{};
    bool m_stale = true;
};

// Made on first use while an X server is there; it goes with the application.
IndicatorWatch* Watch() {
    static QPointer<IndicatorWatch> watch;
    if (watch)
        return watch;
    xcb_connection_t* c = XConnection();
    const xcb_query_extension_reply_t* xkb = c ? xcb_get_extension_data(c, &xcb_xkb_id) : nullptr;
    if (!xkb || !xkb->present)
        return nullptr;
    watch = new IndicatorWatch(c, xkb->first_event);
    watch->setParent(QCoreApplication::instance());
    QCoreApplication::instance()->installNativeEventFilter(watch);
    return watch;
}

} // namespace

bool CLockKeyState::IsOn(UINT nVirtKey) {
    size_t index = 0;
    switch (nVirtKey) {
    case VK_CAPITAL: index = 0; break;
    case VK_NUMLOCK: index = 1; break;
    case VK_SCROLL: index = 2; break;
    default: return false;
    }
    IndicatorWatch* watch = Watch();
    return watch && watch->IsOn(index);
}
