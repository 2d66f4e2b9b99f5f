#include "widgets/TypedLengthLimit.h"

#include <QLineEdit>

namespace quillon {

namespace {

// The text before an edit is what the box held when textChanged last came: Qt sends
// textEdited for the user's edits only, before or after (by version) the textChanged of the
// same edit, so both texts are kept. A textChanged may name a text the box no longer holds (one
// an edit handler replaced), so the box's own text is what counts.
class TypedLength : public QObject {
public:
    TypedLength(QLineEdit* box, int maxLength)
        : QObject(box), m_box(box), m_max(maxLength), m_now(box->text()) {
        connect(box, &QLineEdit::textChanged, this, [this] {
            if (m_box->text() == m_now) return;
            m_before = m_now;
            m_now = m_box->text();
        });
        connect(box, &QLineEdit::textEdited, this, [this](const QString& t) { edited(t); });
    }

private:
    // An edit that makes the text longer than the limit keeps as much of what it put in as
    // fits: a paste of a long name keeps its first characters. The caret after the edit ends
    // the inserted part; what stands after it is the text that followed the edit.
    void edited(const QString& text) {
        const QString before = text == m_now ? m_before : m_now;
        if (text.size() <= m_max || text.size() <= before.size()) return;
        const int end = qBound(0, m_box->cursorPosition(), int(text.size()));
        const int suffix = qMin(int(text.size()) - end, int(before.size()));
        int prefix = 0;
        const int prefixEnd = qMin(end, int(before.size()) - suffix);
        while (prefix < prefixEnd && text.at(prefix) == before.at(prefix)) ++prefix;
        const int room = qMax(0, m_max - prefix - suffix);
        const QString kept = text.mid(prefix, qMin(room, end - prefix));
        if (kept.isEmpty() && prefix + suffix >= before.size()) {
            m_box->setText(before);
            m_box->setCursorPosition(prefix);
            return;
        }
        m_box->setText(text.left(prefix) + kept + text.right(suffix));
        m_box->setCursorPosition(prefix + int(kept.size()));
    }

    QLineEdit* m_box;
    int m_max;
    QString m_now;
    QString m_before;
};

}  // namespace

void limitTypedLength(QLineEdit* box, int maxLength) {
    new TypedLength(box, maxLength);
}

}  // namespace quillon
