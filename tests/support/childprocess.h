#pragma once
// Another process for the tests that need several instances at once: started
// with pipes on its standard input and output, read line by line with a
// timeout, killed or waited for with a deadline.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "wait.h"

namespace zel::test {

class ChildProcess {
 public:
  explicit ChildProcess(const std::vector<std::string>& args) : program_(args.at(0)) {
    int in[2], out[2];
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    pid_ = ::fork();
    if (pid_ < 0) throw std::runtime_error("fork");
    if (pid_ == 0) {
      ::dup2(in[0], 0);
      ::dup2(out[1], 1);
      std::vector<char*> argv;
      for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    toChild_ = in[1];
    fromChild_ = out[0];
  }
  ~ChildProcess() {
    if (pid_ > 0 && !reaped_) {
      ::kill(pid_, SIGKILL);
      wait();
    }
    ::close(toChild_);
    ::close(fromChild_);
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  void send(const std::string& line) {
    const std::string text = line + "\n";
    if (::write(toChild_, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
      throw std::runtime_error("cannot write to the child");
  }

  // The next line the child printed (without its line feed); false at the
  // end of its output or when nothing came within `timeout`.
  bool readLine(std::string& line, std::chrono::milliseconds timeout = std::chrono::seconds(30)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
      const size_t eol = buffer_.find('\n');
      if (eol != std::string::npos) {
        line = buffer_.substr(0, eol);
        buffer_.erase(0, eol + 1);
        return true;
      }
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline -
                                                                              std::chrono::steady_clock::now());
      if (left.count() <= 0 || !fill(static_cast<int>(left.count()))) return false;
    }
  }

  // Every line still to come, up to the end of the child's output.
  std::vector<std::string> remainingLines() {
    std::vector<std::string> lines;
    std::string line;
    while (readLine(line)) lines.push_back(line);
    if (!buffer_.empty()) lines.push_back(buffer_);  // a line cut by a kill
    buffer_.clear();
    return lines;
  }

  void kill() { ::kill(pid_, SIGKILL); }

  // The exit status, or -signal when the child was killed. A child still
  // running at `deadline` fails the test, and is killed.
  int wait(std::chrono::milliseconds deadline = kWaitDeadline) {
    const std::optional<int> status = waitChild(pid_, deadline);
    reaped_ = true;
    if (!status) {
      ADD_FAILURE() << program_ << " (process " << pid_ << ") did not end within "
                    << deadline.count() / 1000 << " s: killed";
      return -SIGKILL;
    }
    return WIFEXITED(*status) ? WEXITSTATUS(*status) : -WTERMSIG(*status);
  }

 private:
  bool fill(int timeoutMs) {
    pollfd p{fromChild_, POLLIN, 0};
    if (::poll(&p, 1, timeoutMs) <= 0) return false;
    char chunk[4096];
    const ssize_t n = ::read(fromChild_, chunk, sizeof chunk);
    if (n <= 0) return false;
    buffer_.append(chunk, static_cast<size_t>(n));
    return true;
  }

  std::string program_;
  pid_t pid_ = -1;
  int toChild_ = -1;
  int fromChild_ = -1;
  bool reaped_ = false;
  std::string buffer_;
};

}  // namespace zel::test
