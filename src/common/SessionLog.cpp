#include "common/SessionLog.h"

#include "common/CommonFunctions.h"
#include "common/Globals.h"

namespace quillon {

std::function<void(const QString&)> sessionDebugLog(const QString& control) {
    return [prefix = control + QLatin1Char(' ')](const QString& text) {
        if (!G().g_DebugMode) return;
        for (const QString& line : splitTextLines(text)) {
            if (!line.trimmed().isEmpty()) WriteDebugLog(prefix + line);
        }
    };
}

}  // namespace quillon
