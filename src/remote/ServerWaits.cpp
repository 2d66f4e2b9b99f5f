#include "remote/ServerWaits.h"

namespace quillon {

ServerWaits& ServerWaits::instance() {
    static ServerWaits waits;
    return waits;
}

ServerWaits::Scope::Scope() {
    ServerWaits& w = instance();
    if (w.m_count++ == 0) emit w.changed(true);
}

ServerWaits::Scope::~Scope() {
    ServerWaits& w = instance();
    if (--w.m_count == 0) emit w.changed(false);
}

ServerWaits::Cancellable::Cancellable(std::function<void()> cancel) {
    ServerWaits& w = instance();
    m_id = w.m_nextId++;
    w.m_cancels.emplace_back(m_id, std::move(cancel));
    if (w.m_cancels.size() == 1) emit w.cancellableChanged(true);
}

ServerWaits::Cancellable::~Cancellable() {
    ServerWaits& w = instance();
    std::erase_if(w.m_cancels, [this](const auto& c) { return c.first == m_id; });
    if (w.m_cancels.empty()) emit w.cancellableChanged(false);
}

void ServerWaits::cancelCurrent() {
    if (m_cancels.empty()) return;
    const std::function<void()> cancel = m_cancels.back().second;
    cancel();
}

}  // namespace quillon
