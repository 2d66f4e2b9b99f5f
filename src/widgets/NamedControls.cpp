#include "widgets/NamedControls.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quillon {

QPushButton* namedButton(QWidget* parent, const QString& name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QPushButton* namedPictureButton(QWidget* parent, const QString& name,
                                QStyle::StandardPixmap picture, QSize iconSize, QSize minimum) {
    QPushButton* button = namedButton(parent, name);
    button->setIcon(button->style()->standardIcon(picture, nullptr, button));
    button->setIconSize(iconSize);
    button->setMinimumSize(minimum);
    return button;
}

QLineEdit* namedBox(QWidget* parent, const QString& name, const QString& text) {
    auto* box = new QLineEdit(text, parent);
    box->setObjectName(name);
    return box;
}

QLabel* namedLabel(QWidget* parent, const QString& name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QCheckBox* namedCheckBox(QWidget* parent, const QString& name, const QString& caption) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    return box;
}

}  // namespace quillon
