#include "menu/ErrorIndicator.h"

#include "common/CommonFunctions.h"
#include "common/Globals.h"
#include "common/SiteContext.h"
#include "common/SiteTargets.h"
#include "menu/ErrorFiles.h"
#include "widgets/Timers.h"

#include <QColor>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>

namespace quillon {

namespace {

const QColor kYellow(255, 255, 0);
const QColor kRed(255, 0, 0);

// A label takes no clicks of its own: a left-button release on it runs the handler.
class ClickFilter : public QObject {
public:
    ClickFilter(QObject* parent, std::function<void()> handler)
        : QObject(parent), m_handler(std::move(handler)) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            m_handler();
            return true;
        }
        return false;
    }

private:
    std::function<void()> m_handler;
};

}  // namespace

ErrorIndicator::ErrorIndicator(std::function<QString()> siteName, std::function<void()> openErrors,
                               QWidget* parent)
    : QWidget(parent), m_siteName(std::move(siteName)), m_openErrors(std::move(openErrors)) {
    // The label over its coloured box, in one cell.
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Shape1 = new QFrame;
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setAutoFillBackground(true);
    QPalette p = Shape1->palette();
    p.setColor(QPalette::Window, kYellow);
    Shape1->setPalette(p);
    lblError = new QLabel(QStringLiteral("  SYSTEM ERRORS"));
    lblError->setObjectName(QStringLiteral("lblError"));
    lblError->setToolTip(QStringLiteral("Click here to view your Errors"));
    lblError->setAlignment(Qt::AlignCenter);
    QFont bold = lblError->font();
    bold.setBold(true);
    lblError->setFont(bold);
    layout->addWidget(Shape1, 0, 0);
    layout->addWidget(lblError, 0, 0);
    hideIndicator();

    tmrGetErrors = makeTimer(this, QStringLiteral("tmrGetErrors"), 60000, TimerShot::Repeating,
                             [this] { tmrGetErrors_Timer(); });
    tmrColorSwap = makeTimer(this, QStringLiteral("tmrColorSwap"), 750, TimerShot::Repeating,
                             [this] { tmrColorSwap_Timer(); });

    filelistErrors = new QListWidget(this);
    filelistErrors->setObjectName(QStringLiteral("filelistErrors"));
    filelistErrors->hide();

    lblError->setCursor(Qt::PointingHandCursor);
    lblError->installEventFilter(new ClickFilter(lblError, [this] { lblError_Click(); }));
}

void ErrorIndicator::startPulls() {
    tmrGetErrors->start();
}

void ErrorIndicator::stopPulls() {
    tmrGetErrors->stop();
}

void ErrorIndicator::geterrorcsvfiles(const QString&) {
    // The site is always the one the main window shows.
    pullErrorFiles(filesRequestForSite(SiteContext::current().index()), errorFolder(m_siteName()),
                   [](const QString& text) { WriteDebugLog(text); });
}

void ErrorIndicator::tmrGetErrors_Timer() {
    const QString site = m_siteName();
    const QString folder = errorFolder(site);
    filelistErrors->setProperty("Path", folder);
    if (!G().g_PullErrors) return;
    // The pull still running shows what it finds itself.
    if (errorPullRunning()) return;

    QPointer<ErrorIndicator> self(this);
    const bool wasOn = tmrGetErrors->isActive();
    geterrorcsvfiles(site);
    if (!self) return;
    // The user left the site (or logged off) while the pull waited: this tick shows nothing.
    if (m_siteName() != site || (wasOn && !tmrGetErrors->isActive())) {
        m_clickWaits = false;
        return;
    }

    filelistErrors->clear();
    filelistErrors->addItems(listErrorFiles(folder));
    const bool any = filelistErrors->count() > 0;
    Shape1->setVisible(any);
    lblError->setVisible(any);
    if (any)
        tmrColorSwap->start();
    else
        tmrColorSwap->stop();

    if (m_clickWaits) {
        m_clickWaits = false;
        if (any) QTimer::singleShot(0, this, &ErrorIndicator::lblError_Click);
    }
}

void ErrorIndicator::lblError_Click() {
    // A click while a pull is on its way opens the window once that pull has ended.
    if (errorPullRunning()) {
        m_clickWaits = true;
        return;
    }
    m_openErrors();
}

void ErrorIndicator::hideIndicator() {
    Shape1->hide();
    lblError->hide();
}

void ErrorIndicator::tmrColorSwap_Timer() {
    QPalette p = Shape1->palette();
    p.setColor(QPalette::Window, p.color(QPalette::Window) == kYellow ? kRed : kYellow);
    Shape1->setPalette(p);
}

}  // namespace quillon
