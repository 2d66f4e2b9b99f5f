#pragma once
// The real server work with its sessions kept between the runs of one field: a window's
// session ends (close, or a Cancel between lines) and the next window asking for the same
// login in the same folder is handed that session again, changed to its folder afresh. A
// payload runs once per window as before; only the connects between runs are saved, which are
// most of a run's time. A session that a wait's Cancel cut, or that dropped, is not kept.
#include "remote/ServerWork.h"
#include "remote/SessionTexts.h"

#include <memory>
#include <type_traits>
#include <utility>

namespace hardening {

class KeptSessions : public quillon::ServerWork {
public:
    // Over the work installed now (the real one).
    KeptSessions() : m_real(quillon::ServerWork::instance()) {}

    std::unique_ptr<quillon::ServerShell> openShell(const quillon::ShellRequest& request,
                                                    quillon::ServerFailure& failure) override {
        // A window's own session while another window holds the kept one.
        if (m_shell && m_shell->held) return m_real.openShell(request, failure);
        if (m_shell && m_shell->session->isOpen() && sameShell(request)) {
            const quillon::LineResult cd =
                request.folder ? m_shell->session->changeFolder(*request.folder, request.lineTimeoutSec)
                               : quillon::LineResult{};
            if (cd.ok()) {
                failure = {};
                return std::make_unique<Shell>(m_shell, request.lineTimeoutSec);
            }
        }
        m_shell.reset();
        std::unique_ptr<quillon::ServerShell> fresh = m_real.openShell(request, failure);
        if (!fresh) return nullptr;
        m_shell = std::make_shared<Kept<quillon::ServerShell>>(std::move(fresh));
        m_shellRequest = request;
        return std::make_unique<Shell>(m_shell, request.lineTimeoutSec);
    }

    std::unique_ptr<quillon::ServerFiles> openFiles(const quillon::FilesRequest& request,
                                                    quillon::ServerFailure& failure) override {
        if (m_files && m_files->held) return m_real.openFiles(request, failure);
        if (m_files && m_files->session->isOpen() && sameTarget(m_filesRequest.target, request.target) &&
            m_filesRequest.timeoutSec == request.timeoutSec) {
            failure = {};
            return std::make_unique<Files>(m_files);
        }
        m_files.reset();
        std::unique_ptr<quillon::ServerFiles> fresh = m_real.openFiles(request, failure);
        if (!fresh) return nullptr;
        m_files = std::make_shared<Kept<quillon::ServerFiles>>(std::move(fresh));
        m_filesRequest = request;
        return std::make_unique<Files>(m_files);
    }

private:
    static bool sameTarget(const quillon::SessionTarget& a, const quillon::SessionTarget& b) {
        return a.host == b.host && a.port == b.port && a.login == b.login &&
               a.password == b.password && a.refusal.isEmpty() && b.refusal.isEmpty();
    }
    bool sameShell(const quillon::ShellRequest& r) const {
        return sameTarget(m_shellRequest.target, r.target) &&
               m_shellRequest.connectTimeoutSec == r.connectTimeoutSec &&
               m_shellRequest.folder.has_value() == r.folder.has_value() &&
               (!r.folder || !r.folder->isEmpty());
    }

    template <class Session>
    struct Kept {
        explicit Kept(std::unique_ptr<Session> s) : session(std::move(s)) {}
        std::unique_ptr<Session> session;
        bool held = false;  // a window's session stands for it now
    };

    // What a window holds: closing it leaves the kept session open; a Cancel while a line or a
    // fetch runs cuts the kept session as it would the window's own, a Cancel between them only
    // ends the window's hold, as closing would.
    template <class Session>
    class Held : public Session {
    public:
        explicit Held(std::shared_ptr<Kept<Session>> kept) : m_kept(std::move(kept)) {
            m_kept->held = true;
        }
        ~Held() override { close(); }
        bool isOpen() const override { return !m_ended && m_kept->session->isOpen(); }
        void close() override {
            if (!m_ended) m_kept->held = false;
            m_ended = true;
        }
        void cancel() override {
            if (m_running) m_kept->session->cancel();
            close();
        }

    protected:
        // The kept session's work, or the refusal of a session that is closed.
        template <class Work>
        auto during(Work work) {
            using Result = decltype(work(std::declval<Session&>()));
            if (!isOpen()) {
                quillon::ServerFailure refused;
                refused.set(quillon::kSessionFailed, quillon::sessiontexts::notConnected());
                if constexpr (std::is_same_v<Result, quillon::LineResult>)
                    return quillon::LineResult{refused, {}, {}};
                else
                    return Result(refused);
            }
            m_running = true;
            auto result = work(*m_kept->session);
            m_running = false;
            return result;
        }

    private:
        std::shared_ptr<Kept<Session>> m_kept;
        bool m_running = false;
        bool m_ended = false;
    };

    class Shell : public Held<quillon::ServerShell> {
    public:
        Shell(std::shared_ptr<Kept<quillon::ServerShell>> kept, int lineTimeoutSec)
            : Held(std::move(kept)), m_lineTimeoutSec(lineTimeoutSec) {}
        quillon::LineResult run(const QString& line, int deadlineSec) override {
            return during([&](quillon::ServerShell& s) {
                return s.run(line, deadlineSec > 0 ? deadlineSec : m_lineTimeoutSec);
            });
        }

    private:
        int m_lineTimeoutSec;
    };

    class Files : public Held<quillon::ServerFiles> {
    public:
        using Held::Held;
        quillon::ServerFailure fetch(const QString& remotePath, const QString& localPath,
                                     int deadlineSec) override {
            return during([&](quillon::ServerFiles& f) {
                return f.fetch(remotePath, localPath, deadlineSec);
            });
        }
    };

    quillon::ServerWork& m_real;
    std::shared_ptr<Kept<quillon::ServerShell>> m_shell;
    quillon::ShellRequest m_shellRequest;
    std::shared_ptr<Kept<quillon::ServerFiles>> m_files;
    quillon::FilesRequest m_filesRequest;
};

}  // namespace hardening
