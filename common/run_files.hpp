// The files of one run as a whole: every file the run writes is staged under
// a temporary name beside its final one and renamed over it only when the run
// ends normally, so a run that stops leaves every earlier file as it was; an
// output that is one of the run's inputs is refused before it replaces it; and
// a lock file keeps a second run out of the directories a run works in.
//
// Contract: run_program (program.hpp) owns the one RunFiles of a run that
// writes files and installs it for the run's duration; TextWriter, TextReader
// and DirectFile consult the installed one when they open a file. It is one
// process-wide object rather than run state passed down because every table
// writer and reader of both programs opens its file by name deep in the run;
// with none installed (unit tests, the example generator) files are written
// in place as before. Its methods are safe to call from several threads.
#pragma once

#include <sys/stat.h>

#include <cstdio>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace rec {

// Name of the lock file a run holds in the working directory and in the
// directory of its output prefix; tesk and kormal share it.
inline constexpr std::string_view kLockFileName = ".run.lock";

class RunFiles {
 public:
  // `program` names the holder in the lock file ("tesk", "kormal").
  explicit RunFiles(std::string_view program);
  ~RunFiles();  // removes what is still staged, releases the locks
  RunFiles(const RunFiles&) = delete;
  RunFiles& operator=(const RunFiles&) = delete;

  // Takes the lock of directory `dir` ("" or "." for the working directory),
  // once per directory; a directory that does not exist is left to the file
  // reports. Throws RecordError naming the holder (program and process id)
  // when another run holds it.
  void lock_directory(const std::string& dir);
  // The directory of `path` locked as above.
  void lock_directory_of(const std::string& path);

  // The temporary path to write for the final path `path`:
  // "<dir>/.<name>.<pid>.tmp". The same final path staged again gets the same
  // temporary (a file rewritten in one run). Throws RecordError when the
  // existing `path` is one of the run's inputs (same device and inode).
  std::string stage(const std::string& path);
  // A writer of `path` closed its temporary; `ok` false when the close failed.
  void closed(const std::string& path, bool ok);
  // Drops the staged file of `path`: the run will not replace it.
  void discard(const std::string& path);

  // The path to read for `path`: its temporary when this run wrote it.
  std::string source(const std::string& path) const;
  // Records an input opened from `path` with status `st`; throws RecordError
  // when it is the existing final file of an output this run has staged.
  void note_input(const std::string& path, const struct stat& st);

  // Renames every staged file over its final name, after writing it to disk;
  // throws RecordError when one is still open, failed to close, has become an
  // input, or cannot be renamed.
  void commit();
  // Removes every staged file; the final files are untouched.
  void abandon();

 private:
  struct Staged {
    std::string path;    // final
    std::string staged;  // temporary beside it
    int open = 0;        // writers holding it
    bool failed = false;
  };
  struct Input {
    std::string path;
    dev_t dev;
    ino_t ino;
  };
  struct Lock {
    std::string dir;  // real path
    int fd;
  };
  Staged* find(const std::string& key);
  const Staged* find(const std::string& key) const;
  void check_not_input(const std::string& path) const;
  void lock_directory_locked(const std::string& dir);

  std::string program_;
  mutable std::mutex mutex_;
  std::vector<Staged> staged_;
  std::vector<Input> inputs_;
  std::vector<Lock> locks_;
};

// The RunFiles in force; none outside a run that writes files.
RunFiles* current_run_files();

// Installs `files` for the lifetime of the scope.
class RunFilesScope {
 public:
  explicit RunFilesScope(RunFiles& files);
  ~RunFilesScope();
  RunFilesScope(const RunFilesScope&) = delete;
  RunFilesScope& operator=(const RunFilesScope&) = delete;
};

// Opens an input for reading: the run's own temporary when it wrote `path`,
// else `path` itself, noted as an input. Never blocks (a FIFO is opened
// without waiting for a writer). Returns nullptr with errno set when it cannot
// be opened; throws RecordError for anything but a regular file (a FIFO, a
// device, a directory) and for an input that is a staged output.
std::FILE* open_input(const std::string& path);

// Notes the existing file `path` as an input of the run in force before it
// is opened, so that an output that is the same file is refused before the
// run computes anything; no-op outside a run or for a missing file.
void note_input_file(const std::string& path);

}  // namespace rec
