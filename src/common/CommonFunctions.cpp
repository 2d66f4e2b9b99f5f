#include "common/CommonFunctions.h"

#include "common/ConfigNames.h"
#include "common/Globals.h"
#include "platform/FileLookup.h"
#include "platform/ProfileFile.h"
#include "platform/SaveFile.h"
#include "platform/SystemInfo.h"
#include "platform/TextCodec.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>

namespace quillon {

namespace {

QString slashes(QString path) {
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return path;
}

// The folder as it is spelled on disk: as given when it exists, else each component matched
// without regard to case (the system spells some folders two ways, Download and download).
QString existingFolder(const QString& folder) {
    if (QFileInfo(folder).isDir()) return folder;
    const bool absolute = folder.startsWith(QLatin1Char('/'));
    const QString resolved =
        platform::resolveNoCase(absolute ? QStringLiteral("/") : QStringLiteral("."), folder);
    return QFileInfo(resolved).isDir() ? resolved : QString();
}

// The file that FileExists would find for `path`, as it is spelled on disk; "" when none.
QString locate(const QString& path) {
    const QString p = slashes(path);
    if (p.isEmpty()) return {};
    const int slash = p.lastIndexOf(QLatin1Char('/'));
    const QString name = p.mid(slash + 1);
    if (name.isEmpty()) return {};
    const QString folder = existingFolder(slash < 0 ? QStringLiteral(".") : p.left(slash + 1));
    // A folder that cannot be listed answers "no", as a failed listing does.
    if (folder.isEmpty() || !QDir(folder).isReadable()) return {};
    return platform::findFileNoCase(folder, name);
}

}  // namespace

QString configurationFilePath() {
    return platform::SystemInfo::path(QStringLiteral("KTReports.ini"));
}

int configuredSeconds(const QString& key, int defaultSeconds) {
    const platform::ProfileFile ini(configurationFilePath());
    bool ok = false;
    const int configured = ini.read(config::kSites, key).toInt(&ok);
    return ok && configured > 0 ? configured : defaultSeconds;
}

QString TodayString() {
    return QDate::currentDate().toString(QStringLiteral("MM/dd/yyyy"));
}

QString GetPCName() {
    const QString name = platform::SystemInfo::computerName();
    return name.isEmpty() ? QStringLiteral(" ") : name;
}

QString LogTimeStamp(const QDateTime& when) {
    // The C locale gives the English month abbreviations whatever the user's language.
    return QLocale::c().toString(when, QStringLiteral("MMM-dd-yy HH:mm:ss"));
}

bool OpenDebugLog(const QString& path) {
    Globals& g = G();
    g.g_LogPath = path;
    g.g_LogFileNo = 1;
    if (!g.g_DebugMode) return false;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write("OPENED\r\n");
    return true;
}

void WriteDebugLog(const QString& message) {
    const Globals& g = G();
    if (!g.g_DebugMode || g.g_LogPath.isEmpty()) return;
    // Opened and closed per line so that nothing holds the log between two messages.
    QFile file(g.g_LogPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) return;
    file.write(platform::toCp1252(LogTimeStamp(QDateTime::currentDateTime()).trimmed() +
                                  QLatin1Char(' ') + message + QStringLiteral("\r\n")));
}

int findItemText(const QStringList& items, const QString& text, bool exact) {
    for (int i = 0; i < items.size(); ++i) {
        const bool hit = exact ? items[i].compare(text, Qt::CaseInsensitive) == 0
                               : items[i].startsWith(text, Qt::CaseInsensitive);
        if (hit) return i;
    }
    return -1;
}

QStringList SplitCsvLine(const QString& line) {
    if (line.isEmpty()) return {QString()};
    enum class Mode { Between, Plain, Quoted };
    Mode mode = Mode::Between;
    qsizetype start = 0;
    qsizetype trim = 0;  // 1 right after a closing quote, so the quote is not kept
    QStringList fields;
    for (qsizetype p = 0; p < line.size(); ++p) {
        const QChar c = line.at(p);
        if (c == QLatin1Char(' ')) continue;
        if (c == QLatin1Char('"')) {
            if (mode == Mode::Between) {
                mode = Mode::Quoted;
                start = p + 1;
            } else if (mode == Mode::Quoted) {
                mode = Mode::Plain;
                trim = 1;
            }
            continue;
        }
        if (c == QLatin1Char(',')) {
            if (mode == Mode::Between) {
                fields << QString();
                start = p + 1;
            } else if (mode == Mode::Plain) {
                fields << line.mid(start, p - trim - start);
                start = p + 1;
                trim = 0;
                mode = Mode::Between;
            }
            continue;
        }
        if (mode == Mode::Between) {
            start = p;
            mode = Mode::Plain;
        }
        trim = 0;
    }
    fields << line.mid(start, line.size() - trim - start);
    return fields;
}

QString StripNulls(const QString& text) {
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

bool FileExists(const QString& path, const QString& folder) {
    if (path.isEmpty()) {
        if (folder.isEmpty()) return false;
        const QString found = existingFolder(slashes(folder));
        return !found.isEmpty() && QDir(found).isReadable();
    }
    return !locate(path).isEmpty();
}

void DeleteFileIfExists(const QString& path) {
    const QString found = locate(path);
    if (!found.isEmpty()) QFile::remove(found);
}

QString RegReadString(const QString&, const QString&, const QString&) {
    return QStringLiteral("Not Found");
}

QString GetProgramFilesDir() {
    return QStringLiteral("Not Found");
}

bool ConvertUnixFile(const QString& source, const QString& target) {
    const QString from = locate(source);
    if (from.isEmpty()) return true;  // nothing fetched: the target stays as it is
    QFile in(from);
    // A source that is there but cannot be read is a failure, not "nothing fetched".
    if (!in.open(QIODevice::ReadOnly)) return false;
    const QByteArray text = in.readAll();
    in.close();

    // The whole file is converted, CR or not: an LF becomes CR LF, an LF that a CR already
    // precedes stays as it is (no CR CR LF), and a lone CR is data and is copied. A last line
    // without LF is kept and ended like the others rather than lost.
    QByteArray out;
    out.reserve(text.size() + text.size() / 16 + 2);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c == '\n' && (i == 0 || text.at(i - 1) != '\r')) out.append('\r');
        out.append(c);
    }
    if (!text.isEmpty() && !text.endsWith('\n')) out.append("\r\n");

    // Written to a temporary name and renamed into place, so a reader never sees half a file.
    QSaveFile file(slashes(target));
    return file.open(QIODevice::WriteOnly) && platform::writeAndCommit(file, out);
}

QStringList splitTextLines(const QString& content) {
    QStringList lines;
    QString current;
    bool open = false;
    for (qsizetype i = 0; i < content.size(); ++i) {
        const QChar c = content.at(i);
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            lines << current;
            current.clear();
            open = false;
            if (c == QLatin1Char('\r') && i + 1 < content.size() &&
                content.at(i + 1) == QLatin1Char('\n'))
                ++i;
        } else {
            current += c;
            open = true;
        }
    }
    if (open) lines << current;
    return lines;
}

}  // namespace quillon
