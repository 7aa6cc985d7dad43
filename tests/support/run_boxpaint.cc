#include "support/run_boxpaint.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

extern char** environ;

namespace {

long long nowMs() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1000LL + t.tv_nsec / 1000000;
}

std::vector<std::string> childEnvironment(const RunOptions& options) {
  std::vector<std::string> env;
  for (char** e = environ; *e != nullptr; ++e) {
    std::string entry(*e);
    std::string name = entry.substr(0, entry.find('='));
    bool dropped = false;
    for (const std::string& unset : options.unsetEnv) dropped = dropped || unset == name;
    for (const std::string& set : options.setEnv) {
      dropped = dropped || set.substr(0, set.find('=')) == name;
    }
    if (!dropped) env.push_back(entry);
  }
  for (const std::string& set : options.setEnv) env.push_back(set);
  return env;
}

// The words of the wrapper command, its program found on PATH; empty without one.
std::vector<std::string> wrapperWords() {
  std::vector<std::string> words;
  const char* wrapper = std::getenv("BOXPAINT_E2E_WRAPPER");
  std::istringstream in(wrapper != nullptr ? wrapper : "");
  for (std::string word; in >> word;) words.push_back(word);
  if (words.empty() || words[0].find('/') != std::string::npos) return words;
  const char* path = std::getenv("PATH");
  std::istringstream dirs(path != nullptr ? path : "");
  for (std::string dir; std::getline(dirs, dir, ':');) {
    std::string candidate = dir + "/" + words[0];
    if (access(candidate.c_str(), X_OK) == 0) {
      words[0] = candidate;
      break;
    }
  }
  return words;
}

// True when process `pid` has a descriptor open on the file at `target` (a real path).
bool holdsOpen(pid_t pid, const std::string& target) {
  std::string fdDir = "/proc/" + std::to_string(pid) + "/fd";
  DIR* dir = opendir(fdDir.c_str());
  if (dir == nullptr) return false;
  bool found = false;
  char link[PATH_MAX];
  while (dirent* entry = readdir(dir)) {
    if (entry->d_name[0] == '.') continue;
    ssize_t n = readlink((fdDir + "/" + entry->d_name).c_str(), link, sizeof link);
    if (n > 0 && target.compare(0, std::string::npos, link, static_cast<size_t>(n)) == 0) {
      found = true;
      break;
    }
  }
  closedir(dir);
  return found;
}

}  // namespace

bool runsUnderWrapper() {
  return !wrapperWords().empty();
}

RunResult runBoxpaint(const RunOptions& options) {
  std::vector<std::string> argStrings = wrapperWords();
  argStrings.push_back(options.program.empty() ? BOXPAINT_EXE : options.program);
  argStrings.insert(argStrings.end(), options.args.begin(), options.args.end());
  std::vector<char*> argv;
  for (std::string& a : argStrings) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<std::string> envStrings = childEnvironment(options);
  std::vector<char*> envp;
  for (std::string& e : envStrings) envp.push_back(e.data());
  envp.push_back(nullptr);

  int inPipe[2], outPipe[2], errPipe[2];
  if (pipe2(inPipe, O_CLOEXEC) != 0 || pipe2(outPipe, O_CLOEXEC) != 0 ||
      pipe2(errPipe, O_CLOEXEC) != 0) {
    return {};
  }
  int outFile = -1;
  if (!options.stdoutFile.empty()) {
    const int mode = options.stdoutAppends ? O_APPEND : O_TRUNC;
    outFile = open(options.stdoutFile.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | mode, 0644);
  }
  pid_t pid = fork();
  if (pid == 0) {
    // Child: only async-signal-safe calls until exec.
    dup2(inPipe[0], 0);
    if (options.closeStdout) {
      close(1);
    } else if (outFile >= 0) {
      dup2(outFile, 1);
    } else {
      dup2(outPipe[1], 1);
      if (options.nonblockingStdout) fcntl(1, F_SETFL, fcntl(1, F_GETFL) | O_NONBLOCK);
    }
    dup2(errPipe[1], 2);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    for (int s : {SIGINT, SIGQUIT, SIGHUP, SIGPIPE, SIGXFSZ, SIGSEGV}) signal(s, SIG_DFL);
    for (int s : options.ignoredSignals) signal(s, SIG_IGN);
    if (options.ignoreSigxfsz) signal(SIGXFSZ, SIG_IGN);
    if (options.fileSizeLimit >= 0) {
      rlimit limit{static_cast<rlim_t>(options.fileSizeLimit),
                   static_cast<rlim_t>(options.fileSizeLimit)};
      setrlimit(RLIMIT_FSIZE, &limit);
    }
    // A run that a test ends by a signal leaves no core file behind.
    rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    if (options.addressSpaceLimit >= 0) {
      rlimit limit{static_cast<rlim_t>(options.addressSpaceLimit),
                   static_cast<rlim_t>(options.addressSpaceLimit)};
      setrlimit(RLIMIT_AS, &limit);
    }
    if (!options.directory.empty() && chdir(options.directory.c_str()) != 0) _exit(127);
    execve(argv[0], argv.data(), envp.data());
    _exit(127);
  }
  close(inPipe[0]);
  close(outPipe[1]);
  close(errPipe[1]);
  if (outFile >= 0) close(outFile);

  RunResult result;
  // Feed standard input, then close it.
  size_t fed = 0;
  while (fed < options.input.size()) {
    ssize_t n = write(inPipe[1], options.input.data() + fed, options.input.size() - fed);
    if (n <= 0) break;
    fed += static_cast<size_t>(n);
  }
  close(inPipe[1]);

  long long start = nowMs();
  bool byFile = !options.signalWhenFile.empty();
  bool byOpen = !options.signalWhenOpen.empty();
  std::string openTarget;
  if (byOpen) {
    char real[PATH_MAX];
    openTarget = realpath(options.signalWhenOpen.c_str(), real) != nullptr ? real : "";
  }
  bool signalled = options.signalAfterMs < 0 && !byFile && !byOpen;
  // A stalled reader of standard output: the pipe is read only once the run has ended.
  const bool delayedRead = options.readStdoutAfterMs > 0 && !options.leaveStdoutUnread;
  pollfd fds[2] = {{options.leaveStdoutUnread || delayedRead ? -1 : outPipe[0], POLLIN, 0},
                   {errPipe[0], POLLIN, 0}};
  int open = options.leaveStdoutUnread ? 1 : 2;
  char buffer[65536];
  while (open > 0) {
    int timeout = -1;
    if (fds[0].fd < 0 && delayedRead) {
      // A reader that comes late: the pipe fills before anything is read.
      const long long left = start + options.readStdoutAfterMs - nowMs();
      if (left <= 0) {
        fds[0].fd = outPipe[0];
      } else {
        timeout = static_cast<int>(left);
      }
    }
    if (!signalled && byOpen) {
      timeout = 1;
    } else if (!signalled && byFile) {
      timeout = 2;
    } else if (!signalled) {
      long long left = start + options.signalAfterMs - nowMs();
      timeout = left > 0 ? static_cast<int>(left) : 0;
    }
    if (options.killAfterMs >= 0 && !result.killed) {
      long long left = start + options.killAfterMs - nowMs();
      if (left <= 0) {
        kill(pid, SIGKILL);
        result.killed = true;
      } else if (timeout < 0 || left < timeout) {
        timeout = static_cast<int>(left);
      }
    }
    int ready = poll(fds, 2, timeout);
    if (ready < 0 && errno == EINTR) continue;
    if (!signalled) {
      struct stat info;
      bool due = byOpen   ? holdsOpen(pid, openTarget)
                 : byFile ? stat(options.signalWhenFile.c_str(), &info) == 0 &&
                                info.st_size >= options.signalWhenBytes
                          : nowMs() >= start + options.signalAfterMs;
      if (due) {
        kill(pid, options.signal);
        signalled = true;
        result.signalSent = true;
      }
    }
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || (fds[i].revents & (POLLIN | POLLHUP | POLLERR)) == 0) continue;
      ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        (i == 0 ? result.out : result.err).append(buffer, static_cast<size_t>(n));
      } else {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (options.leaveStdoutUnread) {
    // What the run left in the pipe; every writer of it has gone.
    for (ssize_t n; (n = read(outPipe[0], buffer, sizeof buffer)) > 0;) {
      result.out.append(buffer, static_cast<size_t>(n));
    }
    close(outPipe[0]);
  }
  if (WIFEXITED(status)) result.status = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.termSignal = WTERMSIG(status);
  return result;
}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "boxpaint-test-XXXXXX").string();
  char* made = mkdtemp(pattern.data());
  path_ = made != nullptr ? std::string(made) : std::string();
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::write(const std::string& name, const std::string& content) const {
  std::string path = file(name);
  std::ofstream(path, std::ios::binary) << content;
  return path;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

bool fileExists(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0;
}

std::string crlfRecords(const std::vector<std::string>& records) {
  std::string text;
  for (const std::string& record : records) text += record + "\r\n";
  return text;
}
