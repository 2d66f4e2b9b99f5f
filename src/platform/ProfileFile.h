#pragma once
// Windows profile-file semantics over an INI file: sections and keys match without regard to
// case, reads give the trimmed text (at most 254 characters, missing and empty alike), and a
// write changes one line (or adds one) while every other byte of the file stays as it was.
#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>
#include <utility>

namespace platform {

class ProfileFile {
public:
    explicit ProfileFile(QString path);

    const QString& path() const { return m_path; }
    bool exists() const;

    // The key's text, trimmed, cut at 254 characters; "" when the key or file is missing.
    QString read(const QString& section, const QString& key) const;
    // Replaces the key's line in place (keeping the file's spelling of the key), adds it at the
    // end of its section, or adds the section at the end of the file; a key added is written as
    // given, blanks and all. The file is written whole to a temporary name and renamed into
    // place; a file created here gets mode 0600. False when the file could not be written, and
    // for a value holding CR or LF, which would add lines (even sections) to the file.
    bool write(const QString& section, const QString& key, const QString& value) const;
    bool write(const QString& section, const QString& key, long long value) const {
        return write(section, key, QString::number(value));
    }

    // The value read as a decimal number (blanks around it allowed); nullopt when it is none.
    static std::optional<double> number(const QString& value);
    // The value's whole number as the system converts one: rounded to the nearest, a half to
    // the even neighbour (0.5 gives 0, 1.5 and 2.5 give 2, -0.5 gives 0), kept within the 16-bit
    // range such values have; nullopt when the value is no number.
    static std::optional<int> wholeNumber(const QString& value);
    // A profile switch: on when the value is numeric and its whole number greater than 0.
    static bool isSwitchOn(const QString& value);

    static constexpr int kMaxValueLength = 254;

private:
    QString m_path;
};

// The same rules on bytes in memory (the file's content), for the file class and its tests.
namespace profile {
QString read(const QByteArray& content, const QString& section, const QString& key);
// Every key of the section in file order (of each of its parts, when it stands more than once),
// with the value as read() gives it; read() takes the first key that matches.
QList<std::pair<QString, QString>> readSection(const QByteArray& content, const QString& section);
QByteArray write(const QByteArray& content, const QString& section, const QString& key,
                 const QString& value);
}  // namespace profile

}  // namespace platform
