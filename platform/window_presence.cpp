#include "window_presence.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace tarvok {

namespace {

// Every message travels as this tag, its length as four bytes (most
// significant first) and its bytes. A connection whose bytes do not follow
// the frame is dropped.
constexpr char kFrameTag[4] = {'T', 'V', 'K', 'M'};
constexpr std::size_t kHeaderSize = 8;
constexpr std::size_t kMaxMessage = 4096;
// A sender has this long to deliver its frames before its connection is
// dropped, so a client that connects and says nothing holds nothing.
constexpr int kConnectionLifeMs = 5000;
// How long a sender keeps trying a window whose queue of new connections is
// full, and how long it waits for room to write.
constexpr int kSendRetryMs = 50;
// More connections than a listening socket's queue holds.
constexpr int kMostWaitingConnections = 1024;

// The name of a title's sockets: letters and digits as they are, every
// other byte as "_" and two hex digits, so any title bytes give a safe file
// name and two titles never share one. A title too long for a socket path
// is named "~" and the start of its SHA-256 instead.
std::string encodedTitle(const std::string& title) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : title) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
            out.push_back(static_cast<char>(c));
        } else {
            out.push_back('_');
            out.push_back(hex[c >> 4]);
            out.push_back(hex[c & 15]);
        }
    }
    constexpr std::size_t kLongest = 48;
    if (out.size() <= kLongest) return out;
    QByteArray digest = QCryptographicHash::hash(QByteArray(title.data(), static_cast<qsizetype>(title.size())),
                                                 QCryptographicHash::Sha256);
    return std::string("~").append(digest.toHex().left(32).toStdString());
}

// A holder's socket: "<encoded title>.<pid>.<number>", one per announcing
// object, so two windows with one title (two settings programs) are both
// found, and each process removes only what it made.
struct Holder {
    fs::path path;
    pid_t pid = 0;
};

// The folder is usable when it is a real folder (not a link), owned by this
// user and closed to everybody else.
bool ownerOnlyFolder(const fs::path& folder) {
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0) return false;
    return S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() && (st.st_mode & 077) == 0;
}

// $TARVOK_RUNTIME_DIR/tarvok (tests keep their windows apart with it), else
// $XDG_RUNTIME_DIR/tarvok, else /tmp/tarvok-<uid>; made with mode 0700 when
// absent. Empty when the folder exists but is not this user's own: a
// folder someone else made or opened must not be trusted.
fs::path presenceFolder() {
    fs::path folder;
    for (const char* var : {"TARVOK_RUNTIME_DIR", "XDG_RUNTIME_DIR"}) {
        const char* base = std::getenv(var);
        std::error_code ec;
        if (base && *base == '/' && fs::is_directory(base, ec)) {
            folder = fs::path(base) / "tarvok";
            break;
        }
    }
    if (folder.empty()) folder = fs::path("/tmp") / std::string("tarvok-").append(std::to_string(::geteuid()));
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        qWarning("window presence: cannot make %s: %s", folder.c_str(), std::strerror(errno));
        return {};
    }
    if (!ownerOnlyFolder(folder)) {
        qWarning("window presence: %s is not a folder of this user only (mode 0700); windows are not shared",
                 folder.c_str());
        return {};
    }
    return folder;
}

// Every socket of this user's in the folder held for the title, newest
// first. Entries of another owner or of another kind are skipped.
std::vector<Holder> holdersOf(const fs::path& folder, const std::string& title) {
    std::vector<std::pair<fs::file_time_type, Holder>> found;
    if (folder.empty()) return {};
    const std::string stem = encodedTitle(title) + ".";
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(folder, ec)) {
        const std::string name = e.path().filename().string();
        if (name.compare(0, stem.size(), stem) != 0) continue;
        const std::string rest = name.substr(stem.size());
        if (rest.empty() || rest.find('.') == std::string::npos) continue;
        struct stat st {};
        if (::lstat(e.path().c_str(), &st) != 0 || !S_ISSOCK(st.st_mode) || st.st_uid != ::geteuid()) continue;
        Holder h{e.path(), static_cast<pid_t>(std::atol(rest.c_str()))};
        std::error_code tec;
        found.emplace_back(e.last_write_time(tec), h);
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<Holder> out;
    for (auto& f : found) out.push_back(f.second);
    return out;
}

enum class Answer { Connected, Busy, NoOne };

// Connects to a holder's socket without ever blocking: a live window's
// socket takes the connection at once (Connected) or has its queue full
// (Busy); a dead process's socket refuses it (NoOne).
Answer connectTo(const fs::path& path, int* fdOut) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const std::string p = path.string();
    if (p.size() >= sizeof addr.sun_path) return Answer::NoOne;
    std::memcpy(addr.sun_path, p.c_str(), p.size() + 1);
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return Answer::NoOne;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) {
        if (fdOut) *fdOut = fd;
        else ::close(fd);
        return Answer::Connected;
    }
    const int err = errno;
    ::close(fd);
    return err == EAGAIN ? Answer::Busy : Answer::NoOne;
}

bool writeAll(int fd, const std::string& bytes) {
    std::size_t sent = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kSendRetryMs);
    while (sent < bytes.size()) {
        ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN) return false;
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd pfd{fd, POLLOUT, 0};
        ::poll(&pfd, 1, static_cast<int>(left.count()));
    }
    return true;
}

std::string frame(const std::string& text) {
    std::string f(kFrameTag, sizeof kFrameTag);
    const auto n = static_cast<std::uint32_t>(text.size());
    for (int shift = 24; shift >= 0; shift -= 8) f.push_back(static_cast<char>((n >> shift) & 0xFF));
    return f + text;
}

class LocalSocketPresence : public WindowPresence {
public:
    explicit LocalSocketPresence(QObject* parent) : WindowPresence(parent), folder_(presenceFolder()) {}
    ~LocalSocketPresence() override { withdraw(); }

    bool announce(const std::string& title) override {
        if (server_ && title == title_) return true;
        if (folder_.empty()) return false;
        removeDeadHolders();
        static unsigned counter = 0;
        const fs::path path =
            folder_ / (encodedTitle(title) + "." + std::to_string(::getpid()) + "." + std::to_string(++counter));
        // Only a dead process with this process's number can have left it.
        ::unlink(path.c_str());
        auto* server = new QLocalServer(this);
        server->setSocketOptions(QLocalServer::UserAccessOption);
        if (!server->listen(QString::fromStdString(path.string()))) {
            qWarning("window presence: cannot announce a window at %s: %s", path.c_str(),
                     qPrintable(server->errorString()));
            delete server;
            return false;
        }
        connect(server, &QLocalServer::newConnection, this, [this, server] { takeConnections(server); });
        // The new title is found before the old one goes, as a window that
        // changes its caption never disappears in between; what was sent to
        // the old caption still reaches this window.
        if (server_) {
            retire(server_);
            server_ = nullptr;
        }
        server_ = server;
        title_ = title;
        return true;
    }

    std::string announced() const override { return title_; }

    void withdraw() override {
        if (!server_) return;
        server_->close();  // removes the socket file
        server_->deleteLater();
        server_ = nullptr;
        title_.clear();
        // A closed window takes no more messages, none still on their way
        // either.
        for (QLocalSocket* s : findChildren<QLocalSocket*>(Qt::FindDirectChildrenOnly)) {
            s->disconnect(this);
            s->abort();
            s->deleteLater();
        }
    }

    bool isOpen(const std::string& title) const override {
        for (const Holder& h : holdersOf(folder_, title))
            if (connectTo(h.path, nullptr) != Answer::NoOne) return true;
        return false;
    }

    bool send(const std::string& title, const std::string& text) override {
        if (text.size() > kMaxMessage) return false;
        const std::string bytes = frame(text);
        for (const Holder& h : holdersOf(folder_, title)) {
            int fd = -1;
            Answer a = connectTo(h.path, &fd);
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kSendRetryMs);
            while (a == Answer::Busy && std::chrono::steady_clock::now() < deadline) {
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
                a = connectTo(h.path, &fd);
            }
            if (a != Answer::Connected) continue;
            const bool ok = writeAll(fd, bytes);
            ::close(fd);
            if (ok) return true;
        }
        return false;
    }

private:
    // Sockets left by processes that died: the process is gone and nothing
    // answers on them.
    void removeDeadHolders() {
        std::error_code ec;
        for (const fs::directory_entry& e : fs::directory_iterator(folder_, ec)) {
            const std::string name = e.path().filename().string();
            const auto dot = name.find('.');
            if (dot == std::string::npos) continue;
            const pid_t pid = static_cast<pid_t>(std::atol(name.c_str() + dot + 1));
            if (pid <= 0 || pid == ::getpid()) continue;
            if (::kill(pid, 0) == 0 || errno != ESRCH) continue;
            struct stat st {};
            if (::lstat(e.path().c_str(), &st) != 0 || !S_ISSOCK(st.st_mode) || st.st_uid != ::geteuid()) continue;
            if (connectTo(e.path(), nullptr) == Answer::NoOne) ::unlink(e.path().c_str());
        }
    }

    // Ends a server whose title was replaced without losing a message that
    // a sender was already told had been delivered: its socket file goes
    // first, so no one can connect any more, then every connection still
    // waiting to be accepted is taken. The connections live on (they belong
    // to this object, not to the server) until their texts are read.
    void retire(QLocalServer* server) {
        ::unlink(server->fullServerName().toLocal8Bit().constData());
        // The queue of a listening socket is short; the bound only guards
        // against an accept that keeps failing.
        for (int i = 0; i < kMostWaitingConnections; ++i) {
            bool timedOut = false;
            server->waitForNewConnection(0, &timedOut);
            takeConnections(server);
            if (timedOut || !server->isListening()) break;
        }
        server->close();
        server->deleteLater();
    }

    void takeConnections(QLocalServer* server) {
        while (QLocalSocket* s = server->nextPendingConnection()) {
            s->setParent(this);
            auto buffer = std::make_shared<QByteArray>();
            connect(s, &QLocalSocket::readyRead, this, [this, s, buffer] { readFrames(s, buffer); });
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            QTimer::singleShot(kConnectionLifeMs, s, [s] { s->abort(); });
        }
    }

    // Takes every whole frame the connection has delivered; a partial one
    // waits for the rest, anything that is not a frame ends the connection.
    // The texts are handed on only once the connection is done with, as a
    // receiver may run the event loop and so end the connection meanwhile.
    void readFrames(QLocalSocket* s, std::shared_ptr<QByteArray> pending) {
        QByteArray& buffer = *pending;
        buffer += s->readAll();
        std::vector<std::string> texts;
        bool garbage = false;
        while (buffer.size() >= static_cast<qsizetype>(kHeaderSize)) {
            std::uint32_t n = 0;
            for (int i = 4; i < 8; ++i) n = (n << 8) | static_cast<unsigned char>(buffer[i]);
            if (std::memcmp(buffer.constData(), kFrameTag, sizeof kFrameTag) != 0 || n > kMaxMessage) {
                garbage = true;
                break;
            }
            if (buffer.size() < static_cast<qsizetype>(kHeaderSize + n)) break;
            texts.emplace_back(buffer.constData() + kHeaderSize, n);
            buffer.remove(0, static_cast<qsizetype>(kHeaderSize + n));
        }
        if (garbage) {
            buffer.clear();
            s->abort();
        }
        QPointer<WindowPresence> self(this);
        for (const std::string& text : texts) {
            if (!self) return;
            emit messageReceived(text);
        }
    }

    fs::path folder_;
    QLocalServer* server_ = nullptr;
    std::string title_;
};

}  // namespace

std::unique_ptr<WindowPresence> createWindowPresence(QObject* parent) {
    return std::make_unique<LocalSocketPresence>(parent);
}

}  // namespace tarvok
