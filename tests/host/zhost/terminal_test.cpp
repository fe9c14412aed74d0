// zhost at a terminal, driven through a pseudo-terminal as a person types: Ctrl+C and Escape cancel and
// come back to the command prompt, Enter repeats the last command, Up recalls the lines typed and keeps them
// in the history file, Ctrl+D ends the session and the work is saved; a LISP form goes on over lines.
#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <poll.h>
#include <pty.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "host/filing/file_bytes.h"
#include "tests/host/host_test_support.h"

namespace {

class Terminal {
public:
    Terminal(const std::string& saveTo, const std::string& configFolder) {
        m_pid = forkpty(&m_fd, nullptr, nullptr, nullptr);
        if (m_pid == 0) {
            setenv("XDG_CONFIG_HOME", configFolder.c_str(), 1);
            setenv("ZORTA_NAMESPACE", ("terminal" + std::to_string(getpid())).c_str(), 1);
            execl(ZHOST_PROGRAM, ZHOST_PROGRAM, "--save", saveTo.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~Terminal() {
        if (m_pid > 0 && waitpid(m_pid, nullptr, WNOHANG) == 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        if (m_fd >= 0) close(m_fd);
    }
    Terminal(const Terminal&) = delete;
    Terminal& operator=(const Terminal&) = delete;

    // Waits for `text` in what zhost shows after what was seen so far; false after 20 s. The wait is timed,
    // not counted in reads: the line editor redraws in many small writes, more of them on a loaded machine.
    bool waitFor(const std::string& text) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (std::chrono::steady_clock::now() < deadline) {
            if (const std::size_t at = m_shown.find(text, m_seen); at != std::string::npos) {
                m_seen = at + text.size();
                return true;
            }
            if (!takeShown()) return false;
        }
        return false;
    }
    void type(const std::string& keys) {
        ASSERT_EQ(write(m_fd, keys.data(), keys.size()), ssize_t(keys.size()));
    }
    // The exit status once zhost ends; -1 when it is still running after 40 s.
    int exitStatus() {
        for (int i = 0; i < 200; ++i) {
            if (!takeShown()) poll(nullptr, 0, 200); // closed: only the exit is left to wait for
            int status = 0;
            if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
        }
        return -1;
    }
    const std::string& shown() const { return m_shown; }

private:
    // What zhost shows within 200 ms; false once the terminal is closed.
    bool takeShown() {
        pollfd p{m_fd, POLLIN, 0};
        if (poll(&p, 1, 200) <= 0) return true;
        char buffer[4096];
        const ssize_t n = read(m_fd, buffer, sizeof buffer);
        if (n <= 0) return false;
        m_shown.append(buffer, static_cast<std::size_t>(n));
        return true;
    }

    pid_t m_pid = -1;
    int m_fd = -1;
    std::string m_shown;
    std::size_t m_seen = 0;
};

// A zhost at a terminal, with a configuration folder of its own for the history.
class ZhostTerminal : public ::testing::Test {
protected:
    void SetUp() override {
        char folderTemplate[] = "/tmp/zhost-config-XXXXXX";
        ASSERT_NE(mkdtemp(folderTemplate), nullptr);
        config = folderTemplate;
    }
    void TearDown() override { std::filesystem::remove_all(config); }
    // The history file's entries, their blanks and line ends written as octal escapes ("\\040") read back.
    std::string history() const {
        const std::string file = host::readFileBytes((config / "zhost" / "history").wstring()).value_or("");
        std::string out;
        for (std::size_t i = 0; i < file.size(); ++i)
            if (file[i] == '\\' && i + 3 < file.size() &&
                std::isdigit(static_cast<unsigned char>(file[i + 1]))) {
                out += static_cast<char>(std::stoi(file.substr(i + 1, 3), nullptr, 8));
                i += 3;
            } else {
                out += file[i];
            }
        return out;
    }

    host::test::TemporaryFile saved{".dxf"};
    std::filesystem::path config;
};

} // namespace

TEST_F(ZhostTerminal, CancelRepeatAndEndAsAPersonTypes) {
    Terminal t(saved.path, config.string());
    ASSERT_TRUE(t.waitFor("Commande: ")) << t.shown();
    t.type("LINE\r");
    ASSERT_TRUE(t.waitFor("premier point")) << t.shown();
    t.type("\x03");
    ASSERT_TRUE(t.waitFor("*Annul\xc3\xa9*")) << "Ctrl+C cancels; zhost goes on\n" << t.shown();
    ASSERT_TRUE(t.waitFor("Commande: ")) << t.shown();
    t.type("\r");
    ASSERT_TRUE(t.waitFor("LINE")) << "Enter repeats the last command\n" << t.shown();
    ASSERT_TRUE(t.waitFor("premier point")) << t.shown();
    t.type("0,0\r");
    ASSERT_TRUE(t.waitFor("point suivant")) << t.shown();
    t.type("10,0\r");
    ASSERT_TRUE(t.waitFor("point suivant")) << t.shown();
    t.type("\x1b\r");
    ASSERT_TRUE(t.waitFor("*Annul\xc3\xa9*")) << "Escape cancels\n" << t.shown();
    // The line editor shows the prompt again once it reads keys: keys typed before would go to the terminal.
    ASSERT_TRUE(t.waitFor("\rCommande: ")) << t.shown();
    t.type("\x1b[A\x1b[A");
    ASSERT_TRUE(t.waitFor("0,0")) << "Up recalls the lines typed, the latest first\n" << t.shown();
    t.type("\x15LINE\r");
    ASSERT_TRUE(t.waitFor("premier point")) << "Ctrl+U clears the line recalled\n" << t.shown();
    ASSERT_TRUE(t.waitFor("\rSp\xc3\xa9"
                          "cifiez le premier point"))
        << t.shown();
    t.type("\x1b");
    ASSERT_TRUE(t.waitFor("*Annul\xc3\xa9*")) << "a lone Escape key cancels\n" << t.shown();
    ASSERT_TRUE(t.waitFor("\rCommande: ")) << t.shown();
    t.type("\x04");
    ASSERT_TRUE(t.waitFor("QUIT")) << "Ctrl+D ends as QUIT does\n" << t.shown();
    EXPECT_EQ(t.exitStatus(), 0) << t.shown();
    const std::string dxf = host::readFileBytes(saved.wide()).value_or("");
    EXPECT_NE(dxf.find("AcDbLine"), std::string::npos) << "the line drawn before Escape is saved";
    EXPECT_NE(history().find("10,0"), std::string::npos) << "the lines typed are kept\n" << history();
}

TEST_F(ZhostTerminal, LispFormGoesOnOverTheLinesTyped) {
    Terminal t(saved.path, config.string());
    ASSERT_TRUE(t.waitFor("\rCommande: ")) << t.shown();
    t.type("(setq total (+ 40\r");
    ASSERT_TRUE(t.waitFor("((_> ")) << "a bracket shown for each one open\n" << t.shown();
    t.type("  2))\r");
    ASSERT_TRUE(t.waitFor("42")) << t.shown();
    ASSERT_TRUE(t.waitFor("\rCommande: ")) << t.shown();
    t.type("(princ \"open\r");
    ASSERT_TRUE(t.waitFor("(\"_> ")) << "inside a string\n" << t.shown();
    t.type("\x03");
    ASSERT_TRUE(t.waitFor("*Annul\xc3\xa9*")) << "Ctrl+C drops the form\n" << t.shown();
    ASSERT_TRUE(t.waitFor("\rCommande: ")) << t.shown();
    t.type("\x1b[A");
    ASSERT_TRUE(t.waitFor("(setq total (+ 40 2))")) << "Up recalls the whole form\n" << t.shown();
    t.type("\x15(strcat \"a\r");
    ASSERT_TRUE(t.waitFor("(\"_> ")) << t.shown();
    t.type("b\")\r");
    ASSERT_TRUE(t.waitFor("\"a\\nb\"")) << "a line end inside a string is kept\n" << t.shown();
    ASSERT_TRUE(t.waitFor("\rCommande: ")) << t.shown();
    t.type("\x04");
    EXPECT_EQ(t.exitStatus(), 0) << t.shown();
    EXPECT_NE(history().find("(setq total (+ 40 2))"), std::string::npos) << history();
    EXPECT_EQ(history().find("open"), std::string::npos) << "a cancelled form is not kept\n" << history();
}
