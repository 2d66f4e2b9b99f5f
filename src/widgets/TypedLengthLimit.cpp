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
    void edited(const QString& text) {
        const QString before = text == m_now ? m_before : m_now;
        if (text.size() <= m_max || text.size() <= before.size()) return;
        const int cursor = m_box->cursorPosition() - int(text.size() - before.size());
        m_box->setText(before);
        m_box->setCursorPosition(qBound(0, cursor, int(before.size())));
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
