// Staging, the input rule and the directory lock of a run. rename(2) replaces
// its target atomically within one directory and replaces a symbolic link
// itself, so a final file is either the old one or the whole new one, and a
// link is never written through.
#include "common/run_files.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "common/stop.hpp"

namespace rec {
namespace {

namespace fs = std::filesystem;

std::atomic<RunFiles*> installed{nullptr};

// Final paths are compared after lexical normalisation ("./table71" is
// "table71"); the tables are composed the same way by their writers and readers.
std::string key_of(const std::string& path) { return fs::path(path).lexically_normal().string(); }

std::string directory_of(const std::string& path) {
  std::string dir = fs::path(path).parent_path().string();
  return dir.empty() ? std::string(".") : dir;
}

std::string why(int error) { return std::strerror(error); }

// "a directory", "a FIFO", ... for the report of a file that is not a regular one.
std::string_view kind_of(mode_t mode) {
  if (S_ISDIR(mode)) return "a directory";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  if (S_ISSOCK(mode)) return "a socket";
  return "not a regular file";
}

void sync_path(const std::string& path, int flags) {
  int fd = ::open(path.c_str(), flags | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

RunFiles::RunFiles(std::string_view program) : program_(program) {}

RunFiles::~RunFiles() {
  abandon();
  // The holder's name goes with the lock: a lock file left behind is empty.
  for (const Lock& lock : locks_) {
    const int emptied = ::ftruncate(lock.fd, 0);  // if not, only a stale name stays
    static_cast<void>(emptied);
    ::close(lock.fd);  // releases the flock
  }
}

RunFiles::Staged* RunFiles::find(const std::string& key) {
  for (Staged& s : staged_) {
    if (s.path == key) return &s;
  }
  return nullptr;
}

const RunFiles::Staged* RunFiles::find(const std::string& key) const {
  for (const Staged& s : staged_) {
    if (s.path == key) return &s;
  }
  return nullptr;
}

void RunFiles::lock_directory(const std::string& dir) {
  std::lock_guard<std::mutex> guard(mutex_);
  lock_directory_locked(dir.empty() ? std::string(".") : dir);
}

void RunFiles::lock_directory_of(const std::string& path) {
  std::lock_guard<std::mutex> guard(mutex_);
  lock_directory_locked(directory_of(path));
}

void RunFiles::lock_directory_locked(const std::string& dir) {
  char real[PATH_MAX];
  if (::realpath(dir.c_str(), real) == nullptr) return;
  for (const Lock& lock : locks_) {
    if (lock.dir == real) return;
  }
  const std::string lock_path = (fs::path(dir) / kLockFileName).string();
  int fd = ::open(lock_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
  if (fd < 0) throw RecordError(" Cannot create lock file " + lock_path + ": " + why(errno));
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    int error = errno;
    std::string holder;
    if (error == EWOULDBLOCK) {
      char text[128] = {};
      ssize_t got = ::pread(fd, text, sizeof text - 1, 0);
      if (got > 0) holder.assign(text, static_cast<std::size_t>(got));
      while (!holder.empty() && (holder.back() == '\n' || holder.back() == '\r')) holder.pop_back();
      for (char& c : holder) {
        if (static_cast<unsigned char>(c) < 0x20) c = '?';
      }
    }
    ::close(fd);
    if (error != EWOULDBLOCK) throw RecordError(" Cannot lock file " + lock_path + ": " + why(error));
    throw RecordError(" Directory " + dir + " is in use by another run (" +
                      (holder.empty() ? std::string("starting") : holder) + "): it holds " + lock_path);
  }
  const std::string holder = program_ + ", process " + std::to_string(::getpid()) + "\n";
  if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, holder.data(), holder.size(), 0) < 0) {
    int error = errno;
    ::close(fd);
    throw RecordError(" Cannot write lock file " + lock_path + ": " + why(error));
  }
  locks_.push_back(Lock{real, fd});
}

void RunFiles::check_not_input(const std::string& path) const {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return;  // a new file, or one beyond reach
  for (const Input& in : inputs_) {
    if (in.dev == st.st_dev && in.ino == st.st_ino) {
      throw RecordError(" Output file " + path + " is the input " + in.path +
                        " of this run (the same file): it is not replaced");
    }
  }
}

std::string RunFiles::stage(const std::string& path) {
  std::lock_guard<std::mutex> guard(mutex_);
  const std::string key = key_of(path);
  if (Staged* s = find(key)) {
    ++s->open;
    return s->staged;
  }
  check_not_input(path);
  const std::string dir = directory_of(path);
  lock_directory_locked(dir);
  const std::string name = fs::path(path).filename().string();
  const std::string temporary = "." + name + "." + std::to_string(::getpid()) + ".tmp";
  std::string staged = (fs::path(path).parent_path() / temporary).string();
  staged_.push_back(Staged{key, staged, 1, false});
  return staged;
}

void RunFiles::closed(const std::string& path, bool ok) {
  std::lock_guard<std::mutex> guard(mutex_);
  if (Staged* s = find(key_of(path))) {
    if (s->open > 0) --s->open;
    if (!ok) s->failed = true;
  }
}

void RunFiles::discard(const std::string& path) {
  std::lock_guard<std::mutex> guard(mutex_);
  const std::string key = key_of(path);
  for (auto it = staged_.begin(); it != staged_.end(); ++it) {
    if (it->path == key) {
      ::unlink(it->staged.c_str());
      staged_.erase(it);
      return;
    }
  }
}

std::string RunFiles::source(const std::string& path) const {
  std::lock_guard<std::mutex> guard(mutex_);
  const Staged* s = find(key_of(path));
  return s ? s->staged : path;
}

void RunFiles::note_input(const std::string& path, const struct stat& st) {
  std::lock_guard<std::mutex> guard(mutex_);
  for (const Staged& s : staged_) {
    struct stat out;
    if (::stat(s.path.c_str(), &out) == 0 && out.st_dev == st.st_dev && out.st_ino == st.st_ino) {
      throw RecordError(" Output file " + s.path + " is the input " + path +
                        " of this run (the same file): it is not replaced");
    }
  }
  for (const Input& in : inputs_) {
    if (in.dev == st.st_dev && in.ino == st.st_ino) return;  // read again (a line list per interval)
  }
  inputs_.push_back(Input{path, st.st_dev, st.st_ino});
}

void RunFiles::commit() {
  std::lock_guard<std::mutex> guard(mutex_);
  for (const Staged& s : staged_) {
    if (s.open > 0 || s.failed) {
      throw RecordError(" Cannot write file " + s.path + ": it was not closed completely");
    }
    check_not_input(s.path);
  }
  std::vector<std::string> dirs;
  while (!staged_.empty()) {
    const Staged s = staged_.front();
    sync_path(s.staged, O_RDONLY);
    if (std::rename(s.staged.c_str(), s.path.c_str()) != 0) {
      throw RecordError(" Cannot replace file " + s.path + ": " + why(errno));
    }
    staged_.erase(staged_.begin());
    const std::string dir = directory_of(s.path);
    bool seen = false;
    for (const std::string& d : dirs) seen = seen || d == dir;
    if (!seen) dirs.push_back(dir);
  }
  // The renames themselves reach the disk with their directories.
  for (const std::string& dir : dirs) sync_path(dir, O_RDONLY | O_DIRECTORY);
}

void RunFiles::abandon() {
  std::lock_guard<std::mutex> guard(mutex_);
  for (const Staged& s : staged_) ::unlink(s.staged.c_str());
  staged_.clear();
}

RunFiles* current_run_files() { return installed.load(); }

RunFilesScope::RunFilesScope(RunFiles& files) { installed.store(&files); }
RunFilesScope::~RunFilesScope() { installed.store(nullptr); }

std::FILE* open_input(const std::string& path) {
  RunFiles* files = current_run_files();
  const std::string source = files ? files->source(path) : path;
  const bool own = source != path;
  int fd = ::open(source.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat st;
  if (::fstat(fd, &st) != 0) {
    int error = errno;
    ::close(fd);
    errno = error;
    return nullptr;
  }
  if (!S_ISREG(st.st_mode)) {
    ::close(fd);
    throw RecordError(" Cannot read file " + path + ": it is " + std::string(kind_of(st.st_mode)) +
                      ", not a regular file");
  }
  // Reads of a regular file never wait; the flag only kept a FIFO's open
  // from waiting for a writer.
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  if (files && !own) {
    try {
      files->note_input(path, st);
    } catch (...) {
      ::close(fd);
      throw;
    }
  }
  std::FILE* file = ::fdopen(fd, "rb");
  if (!file) {
    int error = errno;
    ::close(fd);
    errno = error;
  }
  return file;
}

void note_input_file(const std::string& path) {
  RunFiles* files = current_run_files();
  struct stat st;
  if (files && ::stat(path.c_str(), &st) == 0) files->note_input(path, st);
}

}  // namespace rec
