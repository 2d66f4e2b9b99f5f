#pragma once
// The program's name, the titles of its message boxes, and the one way a window tells the user
// something or asks a Yes/No question (through platform::Prompter, so tests can answer).
#include "platform/Prompter.h"

#include <QString>

namespace quillon {

// The program's name in its two editions. Boxes shown without a title of their own carry it
// (platform::setProgramTitle, from the splash window's load on).
QString programName(bool express);

namespace titles {
inline const QString kVarnelReports = QStringLiteral("Varnel Reports");
inline const QString kConfigureSites = QStringLiteral("Configure Sites");
inline const QString kLogin = QStringLiteral("Login");
inline const QString kSaveFile = QStringLiteral("Save File");
inline const QString kRenameFile = QStringLiteral("Rename File");
}  // namespace titles

// A message box with the OK button; an empty title is the program's.
void tell(const QString& text, platform::Icon icon = platform::Icon::None,
          const QString& title = QString());
// A Yes/No question with the question icon; true only for Yes.
bool ask(const QString& text, const QString& title = QString());

}  // namespace quillon
