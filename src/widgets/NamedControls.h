#pragma once
// Controls made under the names the system gives them (their objectName), by which handlers
// and tests find them. The window adds what is its own (tips, filters, pictures, sizes).
#include <QSize>
#include <QString>
#include <QStyle>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace quillon {

// Enter never presses it (not an auto-default button): Enter belongs to the window's boxes
// and lists.
QPushButton* namedButton(QWidget* parent, const QString& name, const QString& caption = QString());
// A button showing the style's picture at iconSize, at least `minimum` large, without a caption
// (the window puts its label beside it).
QPushButton* namedPictureButton(QWidget* parent, const QString& name,
                                QStyle::StandardPixmap picture, QSize iconSize, QSize minimum);
QLineEdit* namedBox(QWidget* parent, const QString& name, const QString& text = QString());
QLabel* namedLabel(QWidget* parent, const QString& name, const QString& text);
QCheckBox* namedCheckBox(QWidget* parent, const QString& name, const QString& caption);

}  // namespace quillon
