#pragma once

#include "NotifyEvent.h"
#include "platform/os/Object.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

// A publish/subscribe hub keyed by event name. Subscribers are called synchronously, in the order they
// subscribed. A subscriber that is destroyed before its hub must unregister first.
class CNotify : public CObject {
public:
    using Handler = std::function<void(NotifyEvent*)>;

    CNotify();
    ~CNotify() override;

    // 0 when added; -1 when the object is already subscribed under this name (whatever its handler).
    int Register(const std::string& name, const void* object, Handler handler);

    template <class T, class R> int Register(const std::string& name, T* object, R (T::*handler)(NotifyEvent*)) {
        return Register(name, static_cast<const void*>(object),
                        [object, handler](NotifyEvent* e) { (object->*handler)(e); });
    }

    // -1 when nobody is subscribed under the record's name; else 0 after every subscriber was called.
    int Notify(NotifyEvent* event);

    // Removes the object's subscription under one name (0), or -1 when it had none.
    int Unregister(const std::string& name, const void* object);
    // Removes every subscription of the object; the others keep their order.
    void UnregisterAll(const void* object);

private:
    struct Subscriber {
        const void* object;
        Handler handler;
        bool active;
    };
    using SubscriberList = std::vector<std::shared_ptr<Subscriber>>;

    std::map<std::string, std::unique_ptr<SubscriberList>> m_events;
};
