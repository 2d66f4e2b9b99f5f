#include "menu/LiveMonitor.h"

#include "common/CommonFunctions.h"
#include "common/Globals.h"
#include "common/SiteContext.h"
#include "common/ShellQuote.h"

namespace quillon {

namespace {

bool siteInRange(int site) {
    return site >= 0 && site < kMaxSites;
}

// A line start this close after the cut point is worth cutting at, so the box does not begin
// with half a call record.
constexpr int kLineSearch = 512;

}  // namespace

LiveMonitor::LiveMonitor(Kind kind, int cap) : m_kind(kind), m_cap(cap > 0 ? cap : kDefaultCap) {}

QString& LiveMonitor::state() const {
    return m_kind == Kind::CallLog ? G().g_CallLogState : G().g_PmsState;
}

QString& LiveMonitor::buffer() const {
    return m_kind == Kind::CallLog ? G().g_CallLogBuffer : G().g_PmsBuffer;
}

QString LiveMonitor::followedFile() const {
    const int site = SiteContext::current().index();
    if (!siteInRange(site)) return QString();
    return m_kind == Kind::CallLog ? G().g_SiteTailPbxFile[site] : G().g_SiteTailPmsFile[site];
}

QString LiveMonitor::tailCommand() const {
    return QStringLiteral("tail -f ") + followedFile();
}

void LiveMonitor::beginReconnect() {
    state() = kReconnecting;
}

QStringList LiveMonitor::startCommands() const {
    const int site = SiteContext::current().index();
    const QString home = siteInRange(site) ? G().g_SiteHomedir[site] : QString();
    // The followed file is a shell expression from the site's configuration (partner sites
    // follow a pipeline), so it goes to the shell as configured.
    return {QStringLiteral("cd ") + shellQuote(home) + QLatin1Char('\n'),
            tailCommand() + QLatin1Char('\n')};
}

QString LiveMonitor::connectFailureMessage(const QString& why) const {
    const QString text = m_kind == Kind::CallLog
                             ? QStringLiteral("Unable To Connect for Call Trace")
                             : QStringLiteral("Unable To Connect for PMS Trace");
    return why.isEmpty() ? text : text + QStringLiteral("\r\n\r\n") + why;
}

QString LiveMonitor::lostMessage() const {
    return QStringLiteral(
               "The connection for %1 was lost: the server ended the session. No "
               "more records are shown until it is connected again.")
        .arg(traceName());
}

QString LiveMonitor::startOverdueMessage(int seconds) const {
    return QStringLiteral(
               "The server did not start the %1 within %2 seconds; the session was "
               "closed.")
        .arg(traceName())
        .arg(seconds);
}

QString LiveMonitor::traceName() const {
    return m_kind == Kind::CallLog ? QStringLiteral("Call Trace") : QStringLiteral("PMS Trace");
}

std::optional<QString> LiveMonitor::receive(const QString& chunk) {
    QString& st = state();
    if (G().g_Brevia) {
        // Partner servers echo differently: everything is shown from the first chunk on. The
        // passage through "PRINTWAIT" happens within this one call, so nobody can see it.
        st = kPrint;
        return chunk;
    }

    QString data = chunk;
    if (st == kReconnecting) {
        QString& buf = buffer();
        buf += chunk;
        const QString command = tailCommand();
        const qsizetype p = buf.indexOf(command);
        if (p >= 0) {
            st = kPrint;
            data = buf.mid(p + command.size());
            buf.clear();
        } else {
            capBuffer();
        }
    }
    if (st == kPrint) return data;
    return std::nullopt;
}

QString LiveMonitor::stampText() const {
    return m_kind == Kind::CallLog ? QStringLiteral("Live Call Records Received at :")
                                   : QStringLiteral("Last Calls Posted to PMS at :");
}

QString LiveMonitor::stampLabel(const QDateTime& now) const {
    if (state() == kPrint) return stampText() + LogTimeStamp(now).trimmed();
    return stampText();
}

QString LiveMonitor::forDisplay(const QString& text) {
    QString shown = text;
    shown.remove(QLatin1Char('\r'));
    return shown;
}

qsizetype LiveMonitor::excessToDrop(const QString& text, int cap) {
    const qsizetype excess = text.size() - cap;
    if (excess <= 0) return 0;
    const qsizetype lineEnd = text.indexOf(QLatin1Char('\n'), excess - 1);
    if (lineEnd >= 0 && lineEnd - (excess - 1) <= kLineSearch && lineEnd + 1 < text.size())
        return lineEnd + 1;
    return excess;
}

void LiveMonitor::capBuffer() {
    // Keep enough of the tail end that an echo arriving in pieces is still found.
    QString& buf = buffer();
    if (buf.size() > m_cap) buf.remove(0, buf.size() - m_cap);
}

}  // namespace quillon
