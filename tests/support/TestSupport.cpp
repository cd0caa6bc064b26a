#include "TestSupport.h"

#include <fcntl.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sched.h>
#include <sys/prctl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace testing_support {

ScratchDir::ScratchDir()
{
    char pattern[] = "/tmp/vrax-test-XXXXXX";
    char* made = mkdtemp(pattern);
    if (!made)
        throw std::runtime_error("mkdtemp failed");
    path_ = made;
    previous_ = std::filesystem::current_path().string();
    std::filesystem::current_path(path_);
}

ScratchDir::~ScratchDir()
{
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
    std::filesystem::remove_all(path_, ignored);
}

void writeFile(const std::string& path, const std::string& text)
{
    std::filesystem::path p(path);
    if (p.has_parent_path())
        std::filesystem::create_directories(p.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << text;
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> readLines(const std::string& path)
{
    std::vector<std::string> lines;
    std::istringstream in(readFile(path));
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

int run(const std::string& command)
{
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string capture(const std::string& command)
{
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            out.append(buffer, n);
        pclose(pipe);
    }
    return out;
}

std::string findGameWindow(const std::string& display)
{
    std::string window = capture("DISPLAY=" + display + " timeout 20 xdotool search --sync --name '^Vrax$' | head -n1");
    if (!window.empty() && window.back() == '\n')
        window.pop_back();
    return window;
}

Xvfb::Xvfb()
{
    int fds[2];
    if (pipe(fds) != 0)
        return;
    pid_ = fork();
    if (pid_ == 0) {
        close(fds[0]);
        int devnull = open("/dev/null", O_WRONLY);
        dup2(devnull, 2);
        std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
               static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    std::string number;
    char c;
    while (read(fds[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(fds[0]);
    if (!number.empty())
        display_ = std::atoi(number.c_str());
}

Xvfb::~Xvfb()
{
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
}

namespace {

void bringLoopbackUp()
{
    const int s = socket(AF_INET, SOCK_DGRAM, 0);
    ifreq request{};
    std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
    if (s >= 0 && ioctl(s, SIOCGIFFLAGS, &request) == 0) {
        request.ifr_flags |= IFF_UP;
        ioctl(s, SIOCSIFFLAGS, &request);
    }
    if (s >= 0)
        close(s);
}

}  // namespace

GameProcess::GameProcess(const std::string& folder, const std::string& display,
                         const std::vector<std::pair<std::string, std::string>>& files, const std::string& netns,
                         const std::string& startIn)
{
    namespace fs = std::filesystem;
    fs::create_directories(folder);
    const fs::path built = VRAX_BINARY_DIR "/game";
    if (fs::is_directory(built))
        for (const fs::directory_entry& entry : fs::directory_iterator(built)) {
            const std::string name = entry.path().filename().string();
            if (name != "Logs" && name != "Vrax.cfg" && name != "Screenshots")
                fs::copy(entry.path(), folder + "/" + name,
                         fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        }
    fs::copy_file(VRAX_BINARY_DIR "/Vrax", folder + "/Vrax", fs::copy_options::overwrite_existing);
    for (const auto& [path, text] : files)
        writeFile(folder + "/" + path, text);
    const std::string binary = folder + "/Vrax";
    pid_ = fork();
    if (pid_ == 0) {
        if (chdir((startIn.empty() ? folder : startIn).c_str()) != 0)
            _exit(126);
        prctl(PR_SET_PDEATHSIG, SIGKILL);  // never outlive the test that started it
        if (!netns.empty()) {
            const int ns = open(("/var/run/netns/" + netns).c_str(), O_RDONLY | O_CLOEXEC);
            if (ns < 0 || setns(ns, CLONE_NEWNET) != 0)
                _exit(125);
        } else if (unshare(CLONE_NEWNET) == 0) {
            // A network of its own (when allowed): copies started by tests
            // running side by side never fight over the game's port.
            bringLoopbackUp();
        }
        setenv("DISPLAY", display.c_str(), 1);
        setenv("SDL_VIDEODRIVER", "x11", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        int out = open("stdout.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, 1);
        dup2(out, 2);
        execl(binary.c_str(), "Vrax", static_cast<char*>(nullptr));
        _exit(127);
    }
}

bool GameProcess::running()
{
    if (pid_ <= 0)
        return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        pid_ = -1;
        return false;
    }
    return true;
}

int GameProcess::waitExit(double seconds)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (running()) {
        if (std::chrono::steady_clock::now() > end)
            return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return status_;
}

GameProcess::~GameProcess()
{
    if (running()) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

}  // namespace testing_support
