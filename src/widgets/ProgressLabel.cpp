#include "widgets/ProgressLabel.h"

#include <QFont>
#include <QPalette>

namespace quillon {

ProgressLabel::ProgressLabel(const QString& text, QWidget* parent)
    : QLabel(text, parent), m_base(text) {}

ProgressLabel::ProgressLabel(const QString& text, int mostDots, QWidget* parent)
    : QLabel(text, parent), m_base(text), m_mostDots(mostDots < 1 ? 1 : mostDots) {}

void ProgressLabel::setBaseText(const QString& text) {
    m_base = text;
    setText(text);
}

void ProgressLabel::tick() {
    const QString full = m_base + QString(m_mostDots, QLatin1Char('.'));
    setText(text() == full ? m_base + QLatin1Char('.') : text() + QLatin1Char('.'));
}

void ProgressLabel::showInRed(bool on, bool bold) {
    QPalette colours = parentWidget() ? parentWidget()->palette() : QPalette();
    if (on) colours.setColor(QPalette::WindowText, Qt::red);
    setPalette(colours);
    QFont f = font();
    f.setBold(on && bold);
    setFont(f);
}

}  // namespace quillon
