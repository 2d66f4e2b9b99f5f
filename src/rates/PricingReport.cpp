#include "rates/PricingReport.h"

#include "platform/SaveFile.h"
#include "platform/TextCodec.h"

#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QSaveFile>

namespace quillon {

namespace {

constexpr int kStandardFields = 19;
constexpr int kTivFields = 30;

// Splits at "," into at most `count` fields; the last one keeps the rest of the line.
QStringList splitFields(const QString& line, int count) {
    QStringList fields;
    qsizetype from = 0;
    while (fields.size() < count - 1) {
        const qsizetype comma = line.indexOf(QLatin1Char(','), from);
        if (comma < 0) break;
        fields << line.mid(from, comma - from);
        from = comma + 1;
    }
    fields << line.mid(from);
    return fields;
}

// The answer arrives with the server's line ends, unconverted.
QString lastLine(const QString& text) {
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    const QStringList lines = text.split(lineEnd);
    for (auto it = lines.crbegin(); it != lines.crend(); ++it)
        if (!it->isEmpty()) return *it;
    return QString();
}

// An amount right-aligned to end in the column of the rule line.
QString amount(const QString& field, int width = 7) {
    return PadSpaces(width - int(field.size())) + field;
}

QStringList header(const QString& ranAt) {
    return {QStringLiteral("###################################"),
            QStringLiteral("           Pricing Report      "),
            QStringLiteral("Report Ran:") + ranAt,
            QStringLiteral("###################################"),
            QStringLiteral(" "),
            QStringLiteral("PARAMETERS ENTERED "),
            QStringLiteral("------------------ "),
            QStringLiteral(" ")};
}

// Lines 9 to 17, from the five parameter fields (area code, prefix, location, duration,
// line type).
QStringList parameters(const QStringList& f, int first) {
    const bool international = f[first] == QLatin1String("011");
    return {(international ? QStringLiteral("International Code    ")
                           : QStringLiteral("Area Code             ")) +
                f[first],
            (international ? QStringLiteral("Country Code          ")
                           : QStringLiteral("Prefix                ")) +
                f[first + 1],
            QStringLiteral("LOCATION              ") + f[first + 2],
            QStringLiteral("DURATION              ") + f[first + 3] + QStringLiteral(" Minutes"),
            QStringLiteral("LINE TYPE             ") + f[first + 4],
            QStringLiteral(" "),
            QStringLiteral("CALL COST BREAKOUT "),
            QStringLiteral("------------------ "),
            QStringLiteral(" ")};
}

const QString kRule = QStringLiteral("                     =========");

QStringList standardBreakout(const QStringList& f) {
    return {QStringLiteral("Initial time period ") + f[7] + QStringLiteral(" seconds") +
                QStringLiteral(" additional time period ") + f[11] + QStringLiteral(" seconds"),
            QStringLiteral(" "),
            QStringLiteral("INITIAL MINUTE       $ ") + amount(f[5]) +
                QStringLiteral("  (Initial rate $") + f[6] + QStringLiteral(")"),
            QStringLiteral("ADDITIONAL MINUTE    $ ") + amount(f[8]) +
                QStringLiteral("  (Additional rate $") + f[10] + QStringLiteral(" X ") + f[9] +
                QStringLiteral(" minutes") + QStringLiteral(")"),
            QStringLiteral("OP. ASSIST. CHARGE   $ ") + amount(f[12]),
            QStringLiteral("PERCENTAGE MARKUP    $ ") + amount(f[15]) +
                QStringLiteral("  (Percent markup ") + f[16] + QStringLiteral("%") +
                QStringLiteral(")"),
            QStringLiteral("FIXED MARKUP         $ ") + amount(f[17]),
            QStringLiteral("TOTAL TAX            $ ") + amount(f[13]) +
                QStringLiteral("  (Tax rate ") + f[14] + QStringLiteral("%") + QStringLiteral(")"),
            kRule,
            QStringLiteral("TOTAL                $ ") + amount(f[18], 8)};
}

QStringList tivBreakout(const QStringList& f) {
    const auto times = [](const QString& rate, const QString& minutes) {
        return QStringLiteral("  ( $") + rate + QStringLiteral(" X ") + minutes +
               QStringLiteral(" minutes") + QStringLiteral(")");
    };
    return {
        QStringLiteral("Initial time period ") + f[6] + QStringLiteral(" minutes") +
            QStringLiteral(" additional time period ") + f[8] + QStringLiteral(" seconds"),
        QStringLiteral(" "),
        QStringLiteral("INITIAL MINUTE         ") + amount(f[6]) +
            QStringLiteral("  (Initial rate $") + f[7] + QStringLiteral(")"),
        QStringLiteral("ADDITIONAL MINUTE      ") + amount(f[8]) +
            QStringLiteral("  (Additional rate $") + f[9] + QStringLiteral(" X ") + f[8] +
            QStringLiteral(" minutes") + QStringLiteral(")"),
        QStringLiteral("Sub TOTAL            $ ") + amount(f[11]),
        QStringLiteral("Fee                  $ ") + amount(f[12]),
        QStringLiteral("Initial Markup       $ ") + amount(f[14]),
        QStringLiteral("Period 1 PRICE       $ ") + amount(f[17]) + times(f[16], f[15]),
        QStringLiteral("Period 2 PRICE       $ ") + amount(f[20]) + times(f[19], f[18]),
        QStringLiteral("Period 3 TIME          ") + amount(f[23]) + times(f[22], f[21]),
        QStringLiteral("TOTAL TAX            $ ") + amount(f[26]) +
            QStringLiteral("  (Tax on Markup ") + f[25] + QStringLiteral("%") + QStringLiteral(")"),
        QStringLiteral("TOTAL TAX            $ ") + amount(f[28]) +
            QStringLiteral("  (Tax on Cost ") + f[27] + QStringLiteral("%") + QStringLiteral(")"),
        kRule,
        QStringLiteral("TOTAL                $ ") + amount(f[29], 8)};
}

bool fail(QString* error, const QString& text) {
    if (error) *error = text;
    return false;
}

}  // namespace

QString PadSpaces(int n) {
    return n > 0 ? QString(n, QLatin1Char(' ')) : QString();
}

std::optional<CallCostAnswer> readCallCostAnswer(const QByteArray& answer, QString* error) {
    const QString line = lastLine(platform::fromCp1252(answer));
    if (line.isEmpty()) {
        fail(error, QStringLiteral("The call-cost answer is empty."));
        return std::nullopt;
    }
    CallCostAnswer a;
    a.fields = splitFields(line, kStandardFields);
    a.tiv = a.fields[0] == QLatin1String("TIV");
    if (a.tiv) a.fields = splitFields(line, kTivFields);
    const int needed = a.tiv ? kTivFields : kStandardFields;
    if (a.fields.size() < needed) {
        fail(error, QStringLiteral("The call-cost answer has %1 fields where %2 are needed.")
                        .arg(a.fields.size())
                        .arg(needed));
        return std::nullopt;
    }
    return a;
}

std::optional<QStringList> PricingReportLines(const QByteArray& answer, const QString& ranAt,
                                              QString* error) {
    const std::optional<CallCostAnswer> a = readCallCostAnswer(answer, error);
    if (!a) return std::nullopt;
    QStringList lines = header(ranAt);
    if (a->tiv) {
        lines << parameters(a->fields, 1) << tivBreakout(a->fields);
    } else {
        lines << parameters(a->fields, 0) << standardBreakout(a->fields);
    }
    return lines;
}

QString PricingReportStamp(const QDateTime& when) {
    QString text = QLocale().toString(when, QLocale::ShortFormat);
    // Newer locale data put narrow or fixed blanks before AM/PM; the report is single-byte.
    text.replace(QChar(0x202F), QLatin1Char(' ')).replace(QChar(0x00A0), QLatin1Char(' '));
    return text;
}

int WritePricingReport(const QString& inPath, const QString& outPath, const QDateTime& ranAt,
                       QString* error) {
    QFile in(inPath);
    if (!in.open(QIODevice::ReadOnly)) {
        fail(error, QStringLiteral("The call-cost answer %1 could not be read: %2")
                        .arg(inPath, in.errorString()));
        return 1;
    }
    const QByteArray answer = in.readAll();
    in.close();
    const auto lines = PricingReportLines(answer, PricingReportStamp(ranAt), error);
    if (!lines) return 1;

    QByteArray text;
    for (const QString& line : *lines) text += platform::toCp1252(line) + "\r\n";
    // A report is replaced only by a complete one.
    QSaveFile out(outPath);
    QString why;
    if (!out.open(QIODevice::WriteOnly) || !platform::writeAndCommit(out, text, &why)) {
        fail(error, QStringLiteral("The pricing report %1 could not be written: %2")
                        .arg(outPath, why.isEmpty() ? out.errorString() : why));
        return 1;
    }
    return 0;
}

}  // namespace quillon
