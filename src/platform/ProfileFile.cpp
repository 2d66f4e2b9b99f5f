#include "platform/ProfileFile.h"

#include "platform/SaveFile.h"
#include "platform/TextCodec.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <vector>

namespace platform {

namespace profile {
namespace {

struct Line {
    qsizetype begin;  // first byte of the line
    qsizetype end;    // byte after the line's text (before CR LF / LF)
    qsizetype next;   // first byte of the next line
};

std::vector<Line> splitLines(const QByteArray& c) {
    std::vector<Line> lines;
    qsizetype pos = 0;
    while (pos < c.size()) {
        qsizetype nl = c.indexOf('\n', pos);
        qsizetype next = nl < 0 ? c.size() : nl + 1;
        qsizetype end = nl < 0 ? c.size() : nl;
        if (end > pos && c.at(end - 1) == '\r') --end;
        lines.push_back({pos, end, next});
        pos = next;
    }
    return lines;
}

// The section name when the line is a section header.
bool sectionName(const QByteArray& text, QString* name) {
    const QByteArray t = text.trimmed();
    if (!t.startsWith('[')) return false;
    const qsizetype close = t.indexOf(']');
    if (close < 0) return false;
    *name = fromCp1252(t.mid(1, close - 1)).trimmed();
    return true;
}

bool keyLine(const QByteArray& text, QString* key, QByteArray* value) {
    const qsizetype eq = text.indexOf('=');
    if (eq < 0) return false;
    *key = fromCp1252(text.left(eq)).trimmed();
    if (key->isEmpty() || key->startsWith(QLatin1Char(';'))) return false;
    *value = text.mid(eq + 1);
    return true;
}

bool same(const QString& a, const QString& b) {
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

}  // namespace

QList<std::pair<QString, QString>> readSection(const QByteArray& content, const QString& section) {
    QList<std::pair<QString, QString>> keys;
    bool inSection = false;
    for (const Line& l : splitLines(content)) {
        const QByteArray text = content.mid(l.begin, l.end - l.begin);
        QString name;
        if (sectionName(text, &name)) {
            inSection = same(name, section);
            continue;
        }
        if (!inSection) continue;
        QString k;
        QByteArray v;
        if (keyLine(text, &k, &v))
            keys.append({k, fromCp1252(v).trimmed().left(ProfileFile::kMaxValueLength)});
    }
    return keys;
}

QString read(const QByteArray& content, const QString& section, const QString& key) {
    for (const auto& [k, value] : readSection(content, section))
        if (same(k, key)) return value;
    return {};
}

QByteArray write(const QByteArray& content, const QString& section, const QString& key,
                 const QString& value) {
    // The key as its caller names it: a blank at its end ("LastLogin ") is part of the name
    // the system writes. Reads still match it trimmed.
    const QByteArray newLine = toCp1252(key) + '=' + toCp1252(value);
    const std::vector<Line> lines = splitLines(content);
    bool inSection = false;
    bool found = false;
    qsizetype insertAt = -1;  // after the last key line of the wanted section
    for (const Line& l : lines) {
        const QByteArray text = content.mid(l.begin, l.end - l.begin);
        QString name;
        if (sectionName(text, &name)) {
            if (found) break;
            inSection = same(name, section);
            if (inSection) {
                found = true;
                insertAt = l.next;
            }
            continue;
        }
        if (!inSection) continue;
        QString k;
        QByteArray v;
        if (keyLine(text, &k, &v)) {
            if (same(k, key)) {
                // Keep the file's own spelling of the key and the line's own ending.
                QByteArray out = content.left(l.begin);
                out += text.left(text.indexOf('=') + 1) + toCp1252(value);
                out += content.mid(l.end);
                return out;
            }
            insertAt = l.next;
        } else if (!text.trimmed().isEmpty()) {
            insertAt = l.next;
        }
    }
    QByteArray out;
    if (found) {
        out = content.left(insertAt);
        if (!out.isEmpty() && !out.endsWith('\n')) out += "\r\n";
        out += newLine + "\r\n";
        out += content.mid(insertAt);
        return out;
    }
    out = content;
    if (!out.isEmpty() && !out.endsWith('\n')) out += "\r\n";
    out += '[' + toCp1252(section.trimmed()) + "]\r\n" + newLine + "\r\n";
    return out;
}

}  // namespace profile

ProfileFile::ProfileFile(QString path) : m_path(std::move(path)) {}

bool ProfileFile::exists() const {
    return QFileInfo::exists(m_path);
}

QString ProfileFile::read(const QString& section, const QString& key) const {
    QFile f(m_path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return profile::read(f.readAll(), section, key);
}

bool ProfileFile::write(const QString& section, const QString& key, const QString& value) const {
    for (const QString& part : {section, key, value})
        if (part.contains(QLatin1Char('\r')) || part.contains(QLatin1Char('\n'))) return false;
    QByteArray content;
    const bool existed = QFileInfo::exists(m_path);
    if (existed) {
        QFile f(m_path);
        if (!f.open(QIODevice::ReadOnly)) return false;
        content = f.readAll();
    }
    QSaveFile out(m_path);
    if (!out.open(QIODevice::WriteOnly)) return false;
    if (!existed) out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return writeAndCommit(out, profile::write(content, section, key, value));
}

std::optional<double> ProfileFile::number(const QString& value) {
    bool ok = false;
    const double d = value.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(d)) return std::nullopt;
    return d;
}

std::optional<int> ProfileFile::wholeNumber(const QString& value) {
    const std::optional<double> d = number(value);
    if (!d) return std::nullopt;
    // nearbyint rounds as the default floating-point mode does: halves to even.
    return static_cast<int>(std::nearbyint(std::clamp(*d, -32768.0, 32767.0)));
}

bool ProfileFile::isSwitchOn(const QString& value) {
    const std::optional<int> n = wholeNumber(value);
    return n && *n > 0;
}

}  // namespace platform
