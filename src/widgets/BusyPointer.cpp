#include "widgets/BusyPointer.h"

namespace quillon {

BusyPointer::BusyPointer(QWidget* window) : m_window(window) {
    if (!m_window) return;
    m_hadOwnCursor = m_window->testAttribute(Qt::WA_SetCursor);
    if (m_hadOwnCursor) m_before = m_window->cursor();
    m_window->setCursor(Qt::WaitCursor);
}

void BusyPointer::release() {
    if (m_window) {
        if (m_hadOwnCursor)
            m_window->setCursor(m_before);
        else
            m_window->unsetCursor();
    }
    m_window = nullptr;
}

}  // namespace quillon
