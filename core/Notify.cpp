#include "Notify.h"

#include <algorithm>

CNotify::CNotify() = default;

CNotify::~CNotify() = default;

int CNotify::Register(const std::string& name, const void* object, Handler handler) {
    std::unique_ptr<SubscriberList>& list = m_events[name];
    if (!list)
        list = std::make_unique<SubscriberList>();
    for (const std::shared_ptr<Subscriber>& s : *list) {
        if (s->object == object)
            return -1;
    }
    list->push_back(std::make_shared<Subscriber>(Subscriber{object, std::move(handler), true}));
    return 0;
}

int CNotify::Notify(NotifyEvent* event) {
    if (!event)
        return -1;
    auto it = m_events.find(event->GetName());
    if (it == m_events.end() || !it->second || it->second->empty())
        return -1;
    // A handler may subscribe or unsubscribe others while it runs: walk a copy, and skip anyone who left
    // before their turn came.
    SubscriberList snapshot = *it->second;
    for (const std::shared_ptr<Subscriber>& s : snapshot) {
        if (s->active)
            s->handler(event);
    }
    return 0;
}

int CNotify::Unregister(const std::string& name, const void* object) {
    auto it = m_events.find(name);
    if (it == m_events.end() || !it->second)
        return -1;
    SubscriberList& list = *it->second;
    auto pos = std::find_if(list.begin(), list.end(),
                            [object](const std::shared_ptr<Subscriber>& s) { return s->object == object; });
    if (pos == list.end())
        return -1;
    (*pos)->active = false;
    list.erase(pos);
    if (list.empty())
        it->second.reset();
    return 0;
}

void CNotify::UnregisterAll(const void* object) {
    for (auto& entry : m_events) {
        if (entry.second)
            Unregister(entry.first, object);
    }
}
