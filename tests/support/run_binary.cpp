// Child-process runs for whole-run tests.
#include "support/run_binary.hpp"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <poll.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace tesmo::testing {

namespace {

void closeQuietly(int& fd)
{
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

/// Appends what is readable on `fd` to `text`; closes `fd` at its end.
void drain(int& fd, std::string& text)
{
    char buffer[4096];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0) {
        text.append(buffer, std::size_t(n));
    } else if (n == 0 || (errno != EINTR && errno != EAGAIN)) {
        closeQuietly(fd);
    }
}

[[noreturn]] void startChild(const std::string& program, const std::vector<std::string>& arguments,
                             const std::string& directory, int in, int out, int err)
{
    if (::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0) {
        ::_exit(126);
    }
    if (!directory.empty() && ::chdir(directory.c_str()) != 0) {
        ::_exit(126);
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
}

} // namespace

RunResult runBinary(const std::string& program, const std::vector<std::string>& arguments,
                    const std::string& directory, const std::optional<std::string>& input, int seconds)
{
    std::signal(SIGPIPE, SIG_IGN); // a child that stops reading must not kill the test
    RunResult result;
    int inPipe[2], outPipe[2], errPipe[2];
    if (::pipe2(inPipe, O_CLOEXEC) != 0 || ::pipe2(outPipe, O_CLOEXEC) != 0 || ::pipe2(errPipe, O_CLOEXEC) != 0) {
        return result;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        startChild(program, arguments, directory, inPipe[0], outPipe[1], errPipe[1]);
    }
    ::close(inPipe[0]);
    ::close(outPipe[1]);
    ::close(errPipe[1]);
    int toChild = inPipe[1];
    int fromOut = outPipe[0];
    int fromErr = errPipe[0];
    const std::string text = input.value_or(std::string());
    std::size_t sent = 0;
    if (text.empty()) {
        closeQuietly(toChild);
    } else {
        ::fcntl(toChild, F_SETFL, O_NONBLOCK);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (fromOut >= 0 || fromErr >= 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            result.timedOut = true;
            ::kill(child, SIGKILL);
            break;
        }
        pollfd watched[3] = {{fromOut, POLLIN, 0}, {fromErr, POLLIN, 0}, {toChild, POLLOUT, 0}};
        if (::poll(watched, 3, int(left.count())) < 0 && errno != EINTR) {
            break;
        }
        if (fromOut >= 0 && (watched[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
            drain(fromOut, result.output);
        }
        if (fromErr >= 0 && (watched[1].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
            drain(fromErr, result.errors);
        }
        if (toChild >= 0 && (watched[2].revents & (POLLOUT | POLLERR | POLLHUP)) != 0) {
            const ssize_t n = ::write(toChild, text.data() + sent, text.size() - sent);
            if (n > 0) {
                sent += std::size_t(n);
            }
            if ((n < 0 && errno != EAGAIN && errno != EINTR) || sent == text.size()) {
                closeQuietly(toChild);
            }
        }
    }
    closeQuietly(toChild);
    closeQuietly(fromOut);
    closeQuietly(fromErr);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!result.timedOut && WIFEXITED(status)) {
        result.exitStatus = WEXITSTATUS(status);
    }
    return result;
}

ScratchDirectory::ScratchDirectory()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tesmo-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) {
        path_ = pattern;
    }
}

ScratchDirectory::~ScratchDirectory()
{
    if (!path_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
}

void ScratchDirectory::write(const std::string& name, const std::string& text) const
{
    std::ofstream out(file(name), std::ios::binary);
    out << text;
}

StandardInput::StandardInput(const std::string& text)
    : text_(std::make_unique<std::istringstream>(text)), previous_(std::cin.rdbuf(text_->rdbuf()))
{
    std::cin.clear();
}

StandardInput::~StandardInput()
{
    std::cin.rdbuf(previous_);
    std::cin.clear();
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace tesmo::testing
