#pragma once
// The main window's error indicator: once a minute it pulls the current site's server error
// files (`tmrGetErrors`), and while the site's error folder holds any it shows "SYSTEM ERRORS"
// over a box that blinks yellow and red (`tmrColorSwap`), with the list of those files
// (`filelistErrors`, property "Path": the folder). A click on the label opens the error window.
#include <QWidget>

#include <functional>

class QFrame;
class QLabel;
class QListWidget;
class QTimer;

namespace quillon {

class ErrorIndicator : public QWidget {
    Q_OBJECT
public:
    // `siteName`: the site the main window shows. `openErrors`: the click's work once no pull
    // runs (the main window may refuse it).
    ErrorIndicator(std::function<QString()> siteName, std::function<void()> openErrors,
                   QWidget* parent = nullptr);

    // The pulls, once a minute from now on, or none.
    void startPulls();
    void stopPulls();
    // Label and box hidden; the blink goes on as it was.
    void hideIndicator();

    // The error-file pull of the site the main window shows (`unusedSite` is not read).
    void geterrorcsvfiles(const QString& unusedSite);

    void tmrGetErrors_Timer();
    // One blink: yellow to red or back.
    void tmrColorSwap_Timer();
    void lblError_Click();

private:
    std::function<QString()> m_siteName;
    std::function<void()> m_openErrors;
    QFrame* Shape1 = nullptr;
    QLabel* lblError = nullptr;
    QTimer* tmrGetErrors = nullptr;
    QTimer* tmrColorSwap = nullptr;
    QListWidget* filelistErrors = nullptr;
    bool m_clickWaits = false;  // the label was clicked while a pull ran
};

}  // namespace quillon
