#pragma once
// The watch-dog numbers saved per site in KTReports.ini: NumWDogEntries and wdognum<i> in the
// site's section (site k = the site box's list index + 1).
#include <QString>
#include <QStringList>

#include <optional>

namespace quillon {

// A phone number as the phone box lets it through: a number of at most 16 characters.
bool isPhoneNumberText(const QString& text);

// The count as the text reads: its whole-number part, rounded down; a text that is not a number
// reads as 0 and a negative one as -1.
qint64 savedNumberCount(const QString& text);

class SavedNumbers {
public:
    // Up to this count every entry is read, an empty one for each missing key. No saved list
    // is that long, so a larger count is no list the window saved: then only the numbers that
    // stand below it are read, in key order, and the missing keys add no empty entries.
    static constexpr qint64 kMaxPaddedEntries = 32767;

    explicit SavedNumbers(QString iniPath) : m_path(std::move(iniPath)) {}

    // The saved numbers of site k, in key order, as many as the count says; a key that is
    // missing reads as an empty entry. nullopt when the count is 0 (nothing saved); a negative
    // count gives an empty list.
    std::optional<QStringList> load(int siteNumber) const;
    // Writes the count and wdognum0 to wdognum<n-1>; keys of a longer list saved before stay in
    // the file unread. False when the file could not be written.
    bool save(int siteNumber, const QStringList& numbers) const;

private:
    QString m_path;
};

}  // namespace quillon
