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

}  // namespace quillon
