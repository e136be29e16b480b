// Runs a built program in a fresh temporary directory, with files written
// there first, and captures its console output and exit status.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace testing_support {

struct ProgramResult {
  int status = -1;     // exit status of the program
  std::string console;  // everything it wrote on standard output
};

class WorkDir {
 public:
  WorkDir();  // a new, empty directory under the system's temporary directory
  ~WorkDir();
  WorkDir(const WorkDir&) = delete;
  WorkDir& operator=(const WorkDir&) = delete;

  const std::filesystem::path& path() const { return dir_; }
  void write(const std::string& name, const std::string& content) const;
  std::string read(const std::string& name) const;
  bool exists(const std::string& name) const;
  // Runs `program` with this directory as working directory and no input;
  // `arguments` are passed as the shell splits them.
  ProgramResult run(const std::string& program, const std::string& arguments = "") const;

 private:
  std::filesystem::path dir_;
};

// Lines of a text joined with CR LF after each, as the programs write files.
std::string crlf_lines(const std::vector<std::string>& lines);
// Splits console or file text at CR LF (or LF) into lines.
std::vector<std::string> split_lines(const std::string& text);

}  // namespace testing_support
