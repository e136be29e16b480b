// The bad-input suites: a program run with a time bound (and, when asked, an
// address-space bound), the corruptions every input file kind is put through,
// and the check that a run ends cleanly: a one-line report naming the file, the
// expected exit status, never a signal or a hang. With LF_SHOW_CASES set in
// the environment every case prints its name and the run's last console line.
#pragma once

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "examples/generator/example_files.hpp"
#include "program_run.hpp"

namespace bad_input {

namespace fs = std::filesystem;

#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kAddressSanitizer = true;
#else
inline constexpr bool kAddressSanitizer = false;
#endif
#else
inline constexpr bool kAddressSanitizer = false;
#endif

// A sanitizer build runs some five times slower; the bound is on hangs, not speed.
inline constexpr int kSecondsPerRun = kAddressSanitizer ? 30 : 10;

struct Outcome {
  bool exited = false;    // ended by exit, not by a signal or the time bound
  int status = -1;        // exit status when exited
  int signal = 0;         // the signal that ended it otherwise
  bool timed_out = false;
  std::string console;
};

// Runs `program` in `dir` with no input, killing it after `seconds`; with
// `address_space_kb` > 0 the child's address space is limited to that, with
// `file_bytes` > 0 no file it writes (its console included) may grow beyond
// that: a write past it fails as on a full disk.
inline Outcome run_bounded(const testing_support::WorkDir& dir, const std::string& program,
                           int seconds = kSecondsPerRun, long address_space_kb = 0, long file_bytes = 0) {
  const fs::path console = dir.path() / ".console";
  pid_t pid = ::fork();
  if (pid == 0) {
    if (::chdir(dir.path().c_str()) != 0) ::_exit(126);
    int in = ::open("/dev/null", O_RDONLY);
    int out = ::open(console.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0) ::_exit(126);
    ::dup2(in, 0);
    ::dup2(out, 1);
    ::dup2(out, 2);
    if (address_space_kb > 0) {
      rlimit limit{static_cast<rlim_t>(address_space_kb) * 1024, static_cast<rlim_t>(address_space_kb) * 1024};
      if (::setrlimit(RLIMIT_AS, &limit) != 0) ::_exit(126);
    }
    if (file_bytes > 0) {
      ::signal(SIGXFSZ, SIG_IGN);  // the write fails with EFBIG instead
      rlimit limit{static_cast<rlim_t>(file_bytes), static_cast<rlim_t>(file_bytes)};
      if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(126);
    }
    ::execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  Outcome r;
  if (pid < 0) return r;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  int raw = 0;
  while (::waitpid(pid, &raw, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &raw, 0);
      r.timed_out = true;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  r.exited = !r.timed_out && WIFEXITED(raw);
  r.status = r.exited ? WEXITSTATUS(raw) : -1;
  r.signal = WIFSIGNALED(raw) ? WTERMSIG(raw) : 0;
  r.console = dir.read(".console");
  fs::remove(console);
  return r;
}

// The last non-empty console line: the stop message or report of a run.
// The last non-blank console line, or the one `back` lines before it.
inline std::string last_line(const std::string& console, std::size_t back = 0) {
  auto lines = testing_support::split_lines(console);
  while (!lines.empty() && lines.back().find_first_not_of(' ') == std::string::npos) lines.pop_back();
  return lines.size() <= back ? std::string() : lines[lines.size() - 1 - back];
}

// --- Corruptions of a file's text -------------------------------------------

// Records of a text, each with its terminator.
inline std::vector<std::string> records_of(const std::string& text) {
  std::vector<std::string> recs;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    end = end == std::string::npos ? text.size() : end + 1;
    recs.push_back(text.substr(start, end - start));
    start = end;
  }
  return recs;
}

inline std::string joined(const std::vector<std::string>& recs) {
  std::string s;
  for (const auto& r : recs) s += r;
  return s;
}

// The record text without its terminator, and the terminator.
inline std::pair<std::string, std::string> split_terminator(const std::string& rec) {
  std::size_t end = rec.size();
  while (end > 0 && (rec[end - 1] == '\n' || rec[end - 1] == '\r')) --end;
  return {rec.substr(0, end), rec.substr(end)};
}

// Changes record `recno` (1-based) with `edit` on its text without terminator.
inline std::string edit_record(const std::string& text, int recno,
                               const std::function<std::string(const std::string&)>& edit) {
  auto recs = records_of(text);
  if (recno < 1 || recno > static_cast<int>(recs.size())) {
    ADD_FAILURE() << "no record " << recno;
    return text;
  }
  auto [body, end] = split_terminator(recs[static_cast<std::size_t>(recno - 1)]);
  recs[static_cast<std::size_t>(recno - 1)] = edit(body) + end;
  return joined(recs);
}

// Where a number of a record lies: a fixed field (columns first..first+width-1,
// 1-based) or, with width 0, the free-form word that starts at or after `first`.
struct Field {
  int record = 1;
  int first = 1;
  int width = 0;
};

// Puts `value` into the field, right-justified in a fixed field.
inline std::string set_field(const std::string& text, Field f, const std::string& value) {
  return edit_record(text, f.record, [&](const std::string& body) {
    std::string b = body;
    std::size_t at = static_cast<std::size_t>(f.first - 1);
    if (f.width > 0) {
      std::size_t w = static_cast<std::size_t>(f.width);
      if (b.size() < at + w) b.resize(at + w, ' ');
      std::string v = value.size() >= w ? value : std::string(w - value.size(), ' ') + value;
      b.replace(at, w, v);
      return b;
    }
    std::size_t start = b.find_first_not_of(' ', at);
    if (start == std::string::npos) return b + " " + value;
    std::size_t end = b.find_first_of(" ,", start);
    if (end == std::string::npos) end = b.size();
    b.replace(start, end - start, value);
    return b;
  });
}

inline std::string to_crlf(const std::string& text) {
  std::string s;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) s += '\r';
    s += text[i];
  }
  return s;
}

inline std::string to_lf(const std::string& text) {
  std::string s;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) s += text[i];
  }
  return s;
}

inline std::string without_final_newline(const std::string& text) {
  return split_terminator(text).first;
}

// Cut in the middle of record `recno`: the file ends there.
inline std::string truncated_in(const std::string& text, int recno) {
  auto recs = records_of(text);
  recs.resize(static_cast<std::size_t>(recno));
  auto& last = recs.back();
  last = split_terminator(last).first;
  last.resize(last.size() / 2);
  return joined(recs);
}

// A file changed before a run: its new text, or removed, or made a directory.
struct Corruption {
  enum class Kind { text, missing, directory };
  Kind kind = Kind::text;
  std::string text;
};

inline Corruption text(std::string t) { return Corruption{Corruption::Kind::text, std::move(t)}; }
inline Corruption missing() { return Corruption{Corruption::Kind::missing, {}}; }
inline Corruption directory() { return Corruption{Corruption::Kind::directory, {}}; }

// One case of a table: what is done to the file, the exit status expected and
// words the last console line must hold (for a failure: the file's name and
// what is wrong). A valid input that changes the results ends normally
// without the results of the untouched files (`same` false).
struct Case {
  std::string name;
  Corruption corruption;
  int status;
  std::vector<std::string> words;
  bool same = true;
  std::string detail = {};  // the plain-words line after a size limit's message, exactly
};

// Replaces the whole of record `recno`.
inline std::string set_record(const std::string& text, int recno, const std::string& value) {
  return edit_record(text, recno, [&](const std::string&) { return value; });
}

// Record `recno` made `n` characters long by a comment after its values.
inline std::string lengthened(const std::string& text, int recno, std::size_t n) {
  return edit_record(text, recno, [n](const std::string& body) { return body + " " + std::string(n - body.size() - 1, 'x'); });
}

// Files of a working directory by name, written into a fresh one per case.
using FileSet = std::map<std::string, std::string>;

inline void write_files(const testing_support::WorkDir& dir, const FileSet& files) {
  for (const auto& [name, content] : files) dir.write(name, content);
}

inline FileSet read_files(const testing_support::WorkDir& dir, const std::vector<std::string>& names) {
  FileSet files;
  for (const auto& n : names) {
    if (dir.exists(n)) files[n] = dir.read(n);
  }
  return files;
}

inline void apply(const testing_support::WorkDir& dir, const std::string& file, const Corruption& c) {
  fs::path p = dir.path() / file;
  fs::remove(p);
  if (c.kind == Corruption::Kind::text) dir.write(file, c.text);
  if (c.kind == Corruption::Kind::directory) fs::create_directory(p);
}

// The corruptions every data file goes through, on its valid text `t`:
// `number` is a real number of a record in the middle of the file, `last` a
// record that ends a statement (a comment after it is skipped).
inline std::vector<Case> common_cases(const std::string& file, const std::string& t, Field number, int last) {
  return {
      {"missing", missing(), 2, {file}},
      {"empty", text(""), 2, {file}},
      {"directory", directory(), 2, {file}},
      {"binary bytes", text(set_field(t, number, std::string("\x01\xff\x00\x7f", 4))), 2, {file, "Unreadable"}},
      {"CR LF", text(to_crlf(t)), 0, {}},
      {"no final newline", text(without_final_newline(t)), 0, {}},
      {"200 characters", text(lengthened(t, last, 200)), 0, {}},
      {"1000 characters", text(lengthened(t, last, 1000)), 0, {}},
      {"nan", text(set_field(t, number, "nan")), 2, {file, "Unreadable real number", "nan"}},
      {"inf", text(set_field(t, number, "-inf")), 2, {file, "Unreadable real number", "inf"}},
      {"overflow", text(set_field(t, number, "1e39")), 2, {file, "Unreadable real number", "1e39"}},
  };
}

// The checks every run of a table shares: it ended by itself within the
// bound, with the status expected and, on a failure, a report on one line
// (the last) that holds every expected word and is no "unexpected error".
// A stop for a size limit ends with its message and then the `detail` line;
// the words are those of the message line.
inline void expect_clean_end(const Outcome& r, int status, const std::vector<std::string>& words,
                             const std::string& detail = {}) {
  ASSERT_FALSE(r.timed_out) << "no end within " << kSecondsPerRun << " s\n" << r.console;
  ASSERT_TRUE(r.exited) << "ended by signal " << r.signal << "\n" << r.console;
  if (!detail.empty()) {
    EXPECT_EQ(last_line(r.console), detail);
  }
  const std::string line = last_line(r.console, detail.empty() ? 0 : 1);
  if (std::getenv("LF_SHOW_CASES")) std::printf("  -> %d %s\n", r.status, line.c_str());
  EXPECT_EQ(r.status, status) << line;
  if (status == 0) {
    EXPECT_EQ(line, "Stop - Program terminated.");
  } else {
    EXPECT_EQ(line.find("Unexpected"), std::string::npos) << line;
  }
  for (const auto& w : words) EXPECT_NE(line.find(w), std::string::npos) << "\"" << w << "\" not in: " << line;
}

}  // namespace bad_input
