#include "BackgroundProcess.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <thread>

#ifndef _WIN32
#include <arpa/inet.h>
#include <csignal>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

// Generous: a loaded build machine may be slow to start a program or a browser.
constexpr double patienceSeconds = 20;

std::size_t lineCount(const std::string& text) {
    return static_cast<std::size_t>(std::ranges::count(text, '\n'));
}

void pause(double seconds) {
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

std::set<std::string> csvNames(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() == ".csv") {
            names.insert(entry.path().filename().string());
        }
    }
    return names;
}

// The stand-in host with its console on a pipe, so that the test types lines when it likes.
class HostConsole {
public:
    explicit HostConsole(const fs::path& dataFolder) {
        std::string command = "\"" KICKMARK_HOST_EXE "\" --data-dir \"" + dataFolder.string() +
                              "\" > \"" + (dataFolder.parent_path() / "host.out").string() +
                              "\" 2>&1";
#ifdef _WIN32
        command = "\"" + command + "\"";
        console_ = _popen(command.c_str(), "w");
#else
        console_ = popen(command.c_str(), "w");
#endif
    }
    HostConsole(const HostConsole&) = delete;
    HostConsole& operator=(const HostConsole&) = delete;
    ~HostConsole() {
        close();
    }

    void type(const std::string& lines) {
        std::fputs(lines.c_str(), console_);
        std::fflush(console_);
    }

    int close() {
        if (console_ == nullptr) {
            return -1;
        }
#ifdef _WIN32
        const int status = _pclose(console_);
#else
        const int status = pclose(console_);
#endif
        console_ = nullptr;
        return status;
    }

private:
    FILE* console_ = nullptr;
};

// The watcher stops cleanly when asked. Under Wine no console control event reaches it: the
// stop is checked on Linux.
void expectCleanStop(BackgroundProcess& watcher, bool interrupt = false) {
    [[maybe_unused]] const auto status = watcher.stop(interrupt);
#ifndef _WIN32
    EXPECT_EQ(status, 0);
#endif
}

class Watch : public ScratchFolder {
protected:
    void SetUp() override {
        ScratchFolder::SetUp();
        data_ = folder_ / "data";
        kept_ = folder_ / "kept";
        shots_ = data_ / "shots.csv";
        out_ = folder_ / "watch.out";
        err_ = folder_ / "watch.err";
        fs::create_directories(data_);
    }

    std::unique_ptr<BackgroundProcess> startWatch(std::vector<fs::path> extra = {}) {
        std::vector<fs::path> command{KICKMARK_REPORT_EXE, "--watch", "--keep", kept_};
        command.insert(command.end(), extra.begin(), extra.end());
        command.push_back(shots_);
        return std::make_unique<BackgroundProcess>(command, out_, err_);
    }

    fs::path data_, kept_, shots_, out_, err_;
};

} // namespace

TEST_F(Watch, the_routine_keeps_each_session_once_as_last_saved_and_tells_every_save) {
    const auto watcher = startWatch({"--html", folder_ / "page.html"});
    HostConsole host(data_);
    // A practice saved midway and at the end, a reset, and a second practice with its save;
    // each save waits for the watcher's line, as a player's next save comes much later.
    host.type("kickmark 1\nsimulate 60 1\nkickmark_save\n");
    ASSERT_EQ(lineCount(waitForLines(out_, 1, patienceSeconds)), 1u) << readBytes(err_);
    host.type("simulate 60 2\nkickmark_save\n");
    ASSERT_EQ(lineCount(waitForLines(out_, 2, patienceSeconds)), 2u) << readBytes(err_);
    const std::string first = readBytes(shots_);
    host.type("kickmark_reset\nsimulate 60 3\nkickmark_save\n");
    const std::string lines = waitForLines(out_, 3, patienceSeconds);
    const std::string second = readBytes(shots_);
    EXPECT_EQ(host.close(), 0) << readBytes(folder_ / "host.out");
    expectCleanStop(*watcher);

    EXPECT_EQ(lineCount(lines), 3u) << lines;
    const std::set<std::string> names = csvNames(kept_);
    ASSERT_EQ(names.size(), 2u) << lines;
    // Both practices may fall in one second, the second kept as -2: each copy is known by its
    // bytes, not by where its name sorts.
    std::map<std::string, std::string> nameOf;
    for (const auto& name : names) {
        nameOf[readBytes(kept_ / name)] = name;
    }
    ASSERT_EQ(nameOf.count(first), 1u) << lines;
    ASSERT_EQ(nameOf.count(second), 1u) << lines;
    // The last line and the page both tell the second session against the first.
    const std::string lastLine = lines.substr(lines.rfind('\n', lines.size() - 2) + 1);
    EXPECT_NE(lastLine.find(nameOf[second] + "  "), std::string::npos) << lines;
    EXPECT_NE(lastLine.find("of 1 session before"), std::string::npos) << lines;
    EXPECT_NE(readBytes(folder_ / "page.html").find(nameOf[second]), std::string::npos);
}

TEST_F(Watch, a_shots_file_that_is_missing_or_not_a_file_is_said_once_and_a_later_save_counts) {
    const auto watcher = startWatch();
    const std::string shown = shots_.string();
    const struct {
        std::string state;
        void (*make)(const fs::path&);
        std::string said;
    } states[] = {
        {"missing", [](const fs::path&) {}, "cannot open " + shown + ": "},
        {"a folder", [](const fs::path& p) { fs::create_directory(p); },
         "cannot open " + shown + ": not a regular file"},
        {"removed", [](const fs::path& p) { fs::remove(p); }, "cannot open " + shown + ": "},
#ifndef _WIN32
        {"a pipe", [](const fs::path& p) { mkfifo(p.c_str(), 0644); },
         "cannot open " + shown + ": not a regular file"},
        {"removed again", [](const fs::path& p) { fs::remove(p); }, "cannot open " + shown + ": "},
#endif
    };
    std::size_t said = 1; // the line that says what is watched
    for (const auto& [state, make, message] : states) {
        SCOPED_TRACE(state);
        make(shots_);
        // Several looks at the file in this state, and one line for them all.
        pause(1.0);
        const std::string err = readBytes(err_);
        ++said;
        ASSERT_EQ(lineCount(err), said) << err;
        EXPECT_NE(err.rfind("\n" + message), std::string::npos) << err;
    }
    writeBytes(shots_, "");
    EXPECT_NE(waitForLines(out_, 1, patienceSeconds).find("holds no shots: nothing kept"),
              std::string::npos);
    writeBytes(shots_, "1500.000000\n");
    EXPECT_NE(waitForLines(out_, 2, patienceSeconds).find("1 shots"), std::string::npos)
        << readBytes(err_);
    EXPECT_EQ(csvNames(kept_).size(), 1u);
    expectCleanStop(*watcher, /*interrupt=*/true);
}

#ifndef _WIN32
namespace {

// The browser's list of open pages, each with its title, from its debugging port.
std::string openPages(int port) {
    const int connection = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::string reply;
    if (connect(connection, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        // The browser keeps the connection open: the reply ends where its length says.
        const std::string request =
            "GET /json/list HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) + "\r\n\r\n";
        if (send(connection, request.data(), request.size(), 0) ==
            static_cast<ssize_t>(request.size())) {
            char buffer[4096];
            std::size_t end = std::string::npos;
            for (ssize_t got;
                 reply.size() < end && (got = recv(connection, buffer, sizeof buffer, 0)) > 0;) {
                reply.append(buffer, static_cast<std::size_t>(got));
                const auto length = reply.find("Content-Length:");
                const auto body = reply.find("\r\n\r\n");
                if (length != std::string::npos && body != std::string::npos) {
                    end = body + 4 + std::stoul(reply.substr(length + 15));
                }
            }
        }
    }
    ::close(connection);
    return reply;
}

// Waits for the browser's open pages to hold `text`; returns the last list.
std::string waitForPageWith(int port, const std::string& text) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(patienceSeconds);
    std::string pages = openPages(port);
    while (pages.find(text) == std::string::npos && std::chrono::steady_clock::now() < deadline) {
        pause(0.1);
        pages = openPages(port);
    }
    return pages;
}

} // namespace

TEST_F(Watch, an_open_page_shows_each_new_session_without_a_click) {
    const fs::path browser = "/usr/bin/chromium";
    if (!fs::exists(browser)) {
        GTEST_SKIP() << "no browser to open the page: " << browser << " is not installed";
    }
    const fs::path page = folder_ / "page.html";
    writeBytes(shots_, "1500.000000\n");
    const auto watcher = startWatch({"--html", page});
    ASSERT_EQ(lineCount(waitForLines(out_, 1, patienceSeconds)), 1u) << readBytes(err_);
    const std::string firstName = *csvNames(kept_).begin();

    const fs::path profile = folder_ / "browser";
    BackgroundProcess chromium({browser, "--headless", "--no-sandbox", "--disable-gpu",
                                "--disable-quic", "--no-first-run",
                                "--disable-background-networking", "--disable-component-update",
                                "--disable-sync", "--user-data-dir=" + profile.string(),
                                "--remote-debugging-port=0", "file://" + page.string()},
                               folder_ / "browser.out", folder_ / "browser.err");
    // The browser names the port it chose in the first line of this file.
    const std::string port = waitForLines(profile / "DevToolsActivePort", 1, patienceSeconds);
    ASSERT_FALSE(port.empty()) << readBytes(folder_ / "browser.err");
    const int portNumber = std::stoi(port);
    EXPECT_NE(waitForPageWith(portNumber, firstName).find(firstName), std::string::npos);

    writeBytes(shots_, "2000.000000\n2500.000000\n");
    ASSERT_EQ(lineCount(waitForLines(out_, 2, patienceSeconds)), 2u) << readBytes(err_);
    std::set<std::string> names = csvNames(kept_);
    names.erase(firstName);
    ASSERT_EQ(names.size(), 1u);
    const std::string pages = waitForPageWith(portNumber, *names.begin());
    EXPECT_NE(pages.find(*names.begin() + " 2 shots"), std::string::npos) << pages;
    chromium.stop();
    expectCleanStop(*watcher);
}
#endif
