#include "platform/window_presence.h"

#include <QProcess>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "tests/support/temp_prefix.h"
#include "tests/support/wait_for.h"

namespace fs = std::filesystem;

namespace tarvok {
namespace {

// Titles that must each be found exactly: separators, dots, bytes above 127,
// control bytes, a NUL, and titles too long to be a file name that differ
// only in their last byte.
std::vector<std::string> awkwardTitles() {
    return {"TARVOK - SETTINGS",         "../a/b\\c.d",
            "caf\xE9 \x01\x7F~_2E",      std::string("nul\0byte", 8),
            std::string(200, 'x') + "1", std::string(200, 'x') + "2"};
}

class WindowPresenceTest : public ::testing::Test {
protected:
    test::TempPrefix prefix;
    fs::path folder() const { return prefix.runtimeDir() / "tarvok"; }
    std::size_t socketsInFolder() const {
        std::size_t n = 0;
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(folder(), ec)) n += e.is_socket() ? 1 : 0;
        return n;
    }
};

// Collects what arrives at a presence.
struct Inbox {
    explicit Inbox(WindowPresence& p) {
        QObject::connect(&p, &WindowPresence::messageReceived, &p,
                         [this](const std::string& t) { texts.push_back(t); });
    }
    std::vector<std::string> texts;
};

TEST_F(WindowPresenceTest, EveryTitleIsFoundExactlyAndTakesMessages) {
    const auto titles = awkwardTitles();
    auto seeker = createWindowPresence();
    for (std::size_t i = 0; i < titles.size(); ++i) {
        SCOPED_TRACE(i);
        auto window = createWindowPresence();
        Inbox inbox(*window);
        ASSERT_TRUE(window->announce(titles[i]));
        EXPECT_EQ(window->announced(), titles[i]);
        for (std::size_t j = 0; j < titles.size(); ++j) EXPECT_EQ(seeker->isOpen(titles[j]), i == j) << j;
        EXPECT_FALSE(seeker->isOpen(titles[i] + " "));
        ASSERT_TRUE(seeker->send(titles[i], "hello \xE9"));
        ASSERT_TRUE(test::waitFor([&] { return !inbox.texts.empty(); }));
        EXPECT_EQ(inbox.texts, std::vector<std::string>{"hello \xE9"});
    }
    EXPECT_EQ(socketsInFolder(), 0u) << "a window that is gone leaves no socket";
    // A message too long for the frame, and one to a title nobody holds.
    auto window = createWindowPresence();
    ASSERT_TRUE(window->announce("T"));
    EXPECT_FALSE(seeker->send("T", std::string(5000, 'a')));
    EXPECT_FALSE(seeker->send("U", "x"));
}

TEST_F(WindowPresenceTest, ANewTitleReplacesTheOldAndTwoWindowsMayShareOne) {
    auto a = createWindowPresence();
    auto b = createWindowPresence();
    ASSERT_TRUE(a->announce("TARVOK - INSTELLINGEN"));
    ASSERT_TRUE(a->announce("TARVOK - SETTINGS"));  // the language was switched
    EXPECT_FALSE(b->isOpen("TARVOK - INSTELLINGEN"));
    EXPECT_TRUE(b->isOpen("TARVOK - SETTINGS"));
    ASSERT_TRUE(b->announce("TARVOK - SETTINGS"));
    a->withdraw();
    EXPECT_EQ(a->announced(), "");
    EXPECT_TRUE(a->isOpen("TARVOK - SETTINGS")) << "the second window still holds it";
    b.reset();
    EXPECT_FALSE(a->isOpen("TARVOK - SETTINGS"));
}

// A sender told its text was delivered is not let down by a window that
// changes its caption before it has taken the text (the recogniser switches
// its title while its switches arrive).
TEST_F(WindowPresenceTest, WhatWasSentBeforeTheTitleChangedStillArrives) {
    auto window = createWindowPresence();
    auto sender = createWindowPresence();
    Inbox inbox(*window);
    ASSERT_TRUE(window->announce("old"));
    ASSERT_TRUE(sender->send("old", "one"));  // no event processed: not yet taken
    ASSERT_TRUE(window->announce("new"));
    EXPECT_FALSE(sender->isOpen("old"));
    ASSERT_TRUE(sender->send("new", "two"));
    ASSERT_TRUE(test::waitFor([&] { return inbox.texts.size() >= 2; }, 10000));
    std::sort(inbox.texts.begin(), inbox.texts.end());
    EXPECT_EQ(inbox.texts, (std::vector<std::string>{"one", "two"}));
    // Closed, it takes nothing more, not even what was on its way.
    ASSERT_TRUE(sender->send("new", "three"));
    window->withdraw();
    test::waitFor([] { return false; }, 100);
    EXPECT_EQ(inbox.texts.size(), 2u);
}

TEST_F(WindowPresenceTest, AWindowTooBusyToAcceptStaysOpen) {
    auto window = createWindowPresence();
    auto seeker = createWindowPresence();
    ASSERT_TRUE(window->announce("busy"));
    // No event is processed, so every look stays queued until the queue of
    // new connections is full: the window is still there.
    for (int i = 0; i < 200; ++i) ASSERT_TRUE(seeker->isOpen("busy")) << i;
    QCoreApplication::processEvents();
}

// Raw bytes to a window's socket, as a confused client might send them.
int rawConnect(const fs::path& path) {
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", path.c_str());
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

TEST_F(WindowPresenceTest, GarbageIsDroppedAndAFrameInPiecesArrivesWhole) {
    auto window = createWindowPresence();
    Inbox inbox(*window);
    ASSERT_TRUE(window->announce("W"));
    fs::path socket = fs::directory_iterator(folder())->path();

    int junk = rawConnect(socket);
    ASSERT_GE(junk, 0);
    ASSERT_EQ(::write(junk, "GET / HTTP/1.0\r\n\r\n", 18), 18);
    int huge = rawConnect(socket);
    ASSERT_EQ(::write(huge, "TVKM\xFF\xFF\xFF\xFF", 8), 8);
    int pieces = rawConnect(socket);
    ASSERT_EQ(::write(pieces, "TVKM\0\0", 6), 6);
    test::waitFor([] { return false; }, 50);
    ASSERT_EQ(::write(pieces,
                      "\0\x03"
                      "abc"
                      "TVKM\0\0\0\x01"
                      "z",
                      14),
              14);
    ASSERT_TRUE(test::waitFor([&] { return inbox.texts.size() == 2; }));
    EXPECT_EQ(inbox.texts, (std::vector<std::string>{"abc", "z"}));
    for (int fd : {junk, huge, pieces}) ::close(fd);
    EXPECT_TRUE(createWindowPresence()->send("W", "after"));
    ASSERT_TRUE(test::waitFor([&] { return inbox.texts.size() == 3; }));
}

TEST_F(WindowPresenceTest, AFolderThatIsNotThisUsersOwnIsNotUsed) {
    auto refused = [&] {
        auto p = createWindowPresence();
        return !p->announce("T") && !p->isOpen("T");
    };
    // Open to others.
    fs::create_directory(folder());
    ::chmod(folder().c_str(), 0755);
    EXPECT_TRUE(refused());
    fs::remove(folder());
    // A link to a private folder elsewhere.
    fs::create_directory(prefix.root() / "elsewhere");
    ::chmod((prefix.root() / "elsewhere").c_str(), 0700);
    fs::create_directory_symlink(prefix.root() / "elsewhere", folder());
    EXPECT_TRUE(refused());
    fs::remove(folder());
    // Another user's (only root can make one to try).
    if (::geteuid() == 0) {
        fs::create_directory(folder());
        ::chmod(folder().c_str(), 0700);
        ASSERT_EQ(::chown(folder().c_str(), 65534, 65534), 0);
        EXPECT_TRUE(refused());
        fs::remove(folder());
    }
    // Made afresh it is private.
    auto p = createWindowPresence();
    EXPECT_TRUE(p->announce("T"));
    struct stat st {};
    ASSERT_EQ(::lstat(folder().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

// ------------------------------------------------------- across processes

class HelperProcess {
public:
    explicit HelperProcess(const QStringList& args) {
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(QStringLiteral(TARVOK_PRESENCE_HELPER), args);
    }
    ~HelperProcess() {
        process_.kill();
        process_.waitForFinished(3000);
    }
    bool announced() {
        return test::waitFor([&] { return process_.readAllStandardOutput().contains("announced"); }, 20000);
    }
    QProcess& process() { return process_; }

private:
    QProcess process_;
};

TEST_F(WindowPresenceTest, AnotherProcessesWindowIsFoundWhileItLivesAndAnswersMessages) {
    const std::string title = "TARVOK - SETTINGS \xC3\xA9";
    auto self = createWindowPresence();
    Inbox inbox(*self);
    ASSERT_TRUE(self->announce("reply here"));
    HelperProcess helper({"--title", QString::fromStdString(title), "--reply", "reply here"});
    ASSERT_TRUE(helper.announced());
    EXPECT_TRUE(self->isOpen(title));
    ASSERT_TRUE(self->send(title, "F2"));
    ASSERT_TRUE(test::waitFor([&] { return !inbox.texts.empty(); }));
    EXPECT_EQ(inbox.texts.front(), "got:F2");

    ASSERT_TRUE(self->send(title, "quit"));
    ASSERT_TRUE(helper.process().waitForFinished(20000));
    EXPECT_EQ(helper.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(helper.process().exitCode(), 0);
    EXPECT_FALSE(self->isOpen(title));
    EXPECT_EQ(socketsInFolder(), 1u) << "only our own reply title is left";
}

TEST_F(WindowPresenceTest, AKilledProcessesTitleIsNotFoundAndItsSocketIsClearedLater) {
    auto self = createWindowPresence();
    HelperProcess helper({"--title", "TARVOK - INSTELLINGEN"});
    ASSERT_TRUE(helper.announced());
    EXPECT_TRUE(self->isOpen("TARVOK - INSTELLINGEN"));
    helper.process().kill();  // SIGKILL: no chance to withdraw
    ASSERT_TRUE(helper.process().waitForFinished(20000));
    EXPECT_EQ(socketsInFolder(), 1u) << "the dead process's socket is still there";
    EXPECT_FALSE(self->isOpen("TARVOK - INSTELLINGEN"));
    EXPECT_FALSE(self->send("TARVOK - INSTELLINGEN", "x"));
    ASSERT_TRUE(self->announce("Tarvok"));
    EXPECT_EQ(socketsInFolder(), 1u) << "announcing cleared the dead socket";
}

}  // namespace
}  // namespace tarvok
