#include "common/Messages.h"

namespace quillon {

QString programName(bool express) {
    return express ? QStringLiteral("Lumbrook") : QStringLiteral("Quillon");
}

void tell(const QString& text, platform::Icon icon, const QString& title) {
    platform::Prompter::instance().message(text, title, icon);
}

bool ask(const QString& text, const QString& title) {
    return platform::Prompter::instance().confirm(text, title);
}

}  // namespace quillon
