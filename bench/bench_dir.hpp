// A working directory for a benchmark: links to a line list and other files
// of the shared real data (the list as lines.hit), a deck written there, and
// the directory entered for the lifetime of the object. ok() is false when
// the shared data is absent; the benchmark then skips itself.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <span>
#include <string>

namespace bench {

class BenchDir {
 public:
  BenchDir(const std::string& line_list, std::initializer_list<const char*> files, const std::string& deck_name,
           std::span<const char* const> deck) {
    namespace fs = std::filesystem;
    const fs::path data = LF_SHARED_DATA;
    ok_ = fs::exists(data / line_list);
    if (!ok_) return;
    old_ = fs::current_path();
    dir_ = fs::temp_directory_path() / ("lf-bench-" + deck_name + "-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    fs::create_symlink(fs::absolute(data / line_list), dir_ / "lines.hit");
    for (const char* f : files) fs::create_symlink(fs::absolute(data / f), dir_ / f);
    std::ofstream out(dir_ / deck_name);
    for (const char* line : deck) out << line << "\n";
    out.close();
    fs::current_path(dir_);
  }
  ~BenchDir() {
    if (!ok_) return;
    std::filesystem::current_path(old_);
    std::filesystem::remove_all(dir_);
  }
  BenchDir(const BenchDir&) = delete;
  BenchDir& operator=(const BenchDir&) = delete;

  bool ok() const { return ok_; }
  const std::filesystem::path& path() const { return dir_; }

 private:
  bool ok_ = false;
  std::filesystem::path old_, dir_;
};

}  // namespace bench
