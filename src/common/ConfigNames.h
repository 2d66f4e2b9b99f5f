#pragma once
// The sections and keys of KTReports.ini, spelled as the system writes them. Sections and keys
// match without regard to case when read, but one that is new to the file is added as spelled
// here, so each writer keeps the spelling the file has always had from it.
#include <QString>

namespace quillon::config {

// [Sites]: the switches and the site count.
inline const QString kSites = QStringLiteral("Sites");
inline const QString kNum = QStringLiteral("Num");
inline const QString kLast = QStringLiteral("Last");
inline const QString kAppVersion = QStringLiteral("AppVersion");
inline const QString kDebugMode = QStringLiteral("DebugMode");
inline const QString kUpdateMode = QStringLiteral("UpdateMode");
inline const QString kExpress = QStringLiteral("Express");
inline const QString kUnusedReport = QStringLiteral("Unusedreport");
inline const QString kBrevia = QStringLiteral("Brevia");
inline const QString kFtpTimeout = QStringLiteral("FTPTIMEOUT");
// Seconds a report program may run; ours, not the system's.
inline const QString kReportTimeout = QStringLiteral("ReportTimeout");
// Seconds a change form waits for the server's answer to its request; ours, not the system's.
inline const QString kAnswerTimeout = QStringLiteral("AnswerTimeout");
// Seconds one long step of a backup or restore (the server's programs, tar, gzip) may run;
// ours, not the system's.
inline const QString kBackupTimeout = QStringLiteral("BackupTimeout");
// Seconds one shell line may take where its step names no deadline of its own; ours.
inline const QString kLineTimeout = QStringLiteral("LineTimeout");

// [Site<k>], k being the site-table index + 1.
inline QString siteSection(int k) {
    return QStringLiteral("Site%1").arg(k);
}
inline const QString kName = QStringLiteral("Name");
inline const QString kIPAddress = QStringLiteral("IPAddress");
inline const QString kSSHPort = QStringLiteral("SSHPort");
inline const QString kTelnetPort = QStringLiteral("TelnetPort");
// One key in two spellings: start-up reads "Username" (and writes its default so), the site
// editor and the new-site entry write "UserName".
inline const QString kUsername = QStringLiteral("Username");
inline const QString kUserName = QStringLiteral("UserName");
inline const QString kPassword = QStringLiteral("Password");
inline const QString kHomedir = QStringLiteral("Homedir");
inline const QString kSSHUser = QStringLiteral("SSHUser");
inline const QString kTailPbxFile = QStringLiteral("Tailpbxfile");
inline const QString kTailPmsFile = QStringLiteral("Tailpmsfile");
inline const QString kTailPbxTimeout = QStringLiteral("Tailpbxtimeout");
inline const QString kTailPmsTimeout = QStringLiteral("Tailpmstimeout");
// With its trailing blank, as the login has always written it.
inline const QString kLastLogin = QStringLiteral("LastLogin ");

// The watch-dog numbers of site k: the count goes into the section spelled "site<k>", the
// numbers into "Site<k>" (the same section once it exists).
inline QString savedNumbersCountSection(int k) {
    return QStringLiteral("site%1").arg(k);
}
inline const QString kNumWDogEntries = QStringLiteral("NumWDogEntries");
inline QString wdogNumberKey(int i) {
    return QStringLiteral("wdognum%1").arg(i);
}

}  // namespace quillon::config
