#pragma once
// A label that shows a text and adds a dot at each tick of its wait panel's timer, back to one dot
// after the tenth: "Report Running..........", then "Report Running.". A window whose text runs
// to another number of dots says so (the backup menus stop at three).
#include <QLabel>

namespace quillon {

class ProgressLabel : public QLabel {
    Q_OBJECT
public:
    static constexpr int kMostDots = 10;

    explicit ProgressLabel(const QString& text = QString(), QWidget* parent = nullptr);
    ProgressLabel(const QString& text, int mostDots, QWidget* parent);

    // Shows the text without dots; the dots count from it.
    void setBaseText(const QString& text);
    // One dot more, or one dot after the last.
    void tick();
    int mostDots() const { return m_mostDots; }
    // The warning look of a running label: red text, bold where asked; off gives the window's
    // own colour back.
    void showInRed(bool on, bool bold = false);

private:
    QString m_base;
    int m_mostDots = kMostDots;
};

}  // namespace quillon
