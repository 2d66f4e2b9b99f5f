#include "reports/selection/SavedNumbers.h"

#include "common/ConfigNames.h"
#include "common/TextFormats.h"
#include "platform/ProfileFile.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <map>

namespace quillon {

namespace {
// i of a key wdognum<i> (any case, i in decimal without leading zeros), else -1.
qint64 numberKeyIndex(const QString& key) {
    const QString prefix = config::wdogNumberKey(0).chopped(1);
    if (!key.startsWith(prefix, Qt::CaseInsensitive)) return -1;
    const QString digits = key.mid(prefix.size());
    bool ok = false;
    const qint64 i = digits.toLongLong(&ok);
    return ok && i >= 0 && QString::number(i) == digits ? i : -1;
}
}  // namespace

bool isPhoneNumberText(const QString& text) {
    return !text.isEmpty() && text.size() <= 16 && isNumberText(text);
}

qint64 savedNumberCount(const QString& text) {
    if (!isNumberText(text)) return 0;
    const double value = std::floor(text.trimmed().toDouble());
    if (value < 0) return -1;
    // Far beyond any list, and still a whole number that the type holds.
    return static_cast<qint64>(std::min(value, 1e15));
}

std::optional<QStringList> SavedNumbers::load(int siteNumber) const {
    QFile file(m_path);
    const QByteArray content = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    // The section is read once: a long list would read the file once per key otherwise.
    QString countText;
    bool countSeen = false;
    std::map<qint64, QString> stored;  // the first key of each number wins, as a read of it does
    for (const auto& [key, value] :
         platform::profile::readSection(content, config::siteSection(siteNumber))) {
        if (key.compare(config::kNumWDogEntries, Qt::CaseInsensitive) == 0) {
            if (!countSeen) countText = value;
            countSeen = true;
        } else if (const qint64 i = numberKeyIndex(key); i >= 0) {
            stored.try_emplace(i, value);
        }
    }
    if (countText.isEmpty()) countText = QStringLiteral("0");
    const qint64 count = savedNumberCount(countText);
    if (count == 0) return std::nullopt;
    QStringList numbers;
    if (count <= kMaxPaddedEntries) {
        for (qint64 i = 0; i < count; ++i) {
            const auto it = stored.find(i);
            numbers << (it == stored.end() ? QString() : it->second);
        }
    } else {
        for (const auto& [i, number] : stored)
            if (i < count) numbers << number;
    }
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
