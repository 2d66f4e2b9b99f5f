#include "reports/selection/SavedNumbers.h"

#include "common/ConfigNames.h"
#include "common/TextFormats.h"
#include "platform/ProfileFile.h"

#include <QFile>

#include <cmath>

namespace quillon {

bool isPhoneNumberText(const QString& text) {
    return !text.isEmpty() && text.size() <= 16 && isNumberText(text);
}

int savedNumberCount(const QString& text) {
    if (!isNumberText(text)) return 0;
    const double value = std::floor(text.trimmed().toDouble());
    if (value > SavedNumbers::kMaxEntries) return SavedNumbers::kMaxEntries;
    if (value < -1) return -1;
    return static_cast<int>(value);
}

std::optional<QStringList> SavedNumbers::load(int siteNumber) const {
    // One read of the file for all keys.
    QFile file(m_path);
    const QByteArray content = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    const QString section = config::siteSection(siteNumber);
    QString countText = platform::profile::read(content, section, config::kNumWDogEntries);
    if (countText.isEmpty()) countText = QStringLiteral("0");
    const int count = savedNumberCount(countText);
    if (count == 0) return std::nullopt;
    QStringList numbers;
    for (int i = 0; i < count; ++i)
        numbers << platform::profile::read(content, section, config::wdogNumberKey(i));
    return numbers;
}

bool SavedNumbers::save(int siteNumber, const QStringList& numbers) const {
    const platform::ProfileFile ini(m_path);
    bool ok = ini.write(config::savedNumbersCountSection(siteNumber), config::kNumWDogEntries,
                        numbers.size());
    for (int i = 0; i < numbers.size(); ++i)
        ok = ini.write(config::siteSection(siteNumber), config::wdogNumberKey(i), numbers[i]) && ok;
    return ok;
}

}  // namespace quillon
