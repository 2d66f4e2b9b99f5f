#pragma once
// The main window's ExecCmd: runs a local command line and waits for it, with the run shown in
// the status bar.
#include <QString>

namespace quillon {

class fMain;

// Text as one word of ExecCmd's command line, whatever blanks or quotes it holds.
QString commandLineWord(const QString& text);

// Runs a local command line and waits for it, with "Running  Report..." and then "Done." in
// the first panel of the main window's status bar.
void ExecCmd(fMain& main, const QString& cmdline);

}  // namespace quillon
