#include "program_run.hpp"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace testing_support {

WorkDir::WorkDir() {
  std::random_device rd;
  auto base = std::filesystem::temp_directory_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    auto candidate = base / ("lf-test-" + std::to_string(::getpid()) + "-" + std::to_string(rd()));
    if (std::filesystem::create_directory(candidate)) {
      dir_ = candidate;
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary directory");
}

WorkDir::~WorkDir() {
  std::error_code ec;
  std::filesystem::remove_all(dir_, ec);
}

void WorkDir::write(const std::string& name, const std::string& content) const {
  auto p = dir_ / name;
  std::filesystem::create_directories(p.parent_path());
  std::ofstream out(p, std::ios::binary);
  out << content;
}

std::string WorkDir::read(const std::string& name) const {
  std::ifstream in(dir_ / name, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

bool WorkDir::exists(const std::string& name) const { return std::filesystem::exists(dir_ / name); }

ProgramResult WorkDir::run(const std::string& program, const std::string& arguments) const {
  ProgramResult r;
  const auto out = dir_ / ".console";
  std::string cmd = "cd '" + dir_.string() + "' && '" + program + "' " + arguments + " </dev/null >'" + out.string() + "' 2>&1";
  int raw = std::system(cmd.c_str());
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  std::ifstream in(out, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  r.console = s.str();
  std::filesystem::remove(out);
  return r;
}

std::string crlf_lines(const std::vector<std::string>& lines) {
  std::string s;
  for (const auto& l : lines) s += l + "\r\n";
  return s;
}

std::vector<std::string> split_lines(const std::string& text) {
  std::vector<std::string> lines;
  std::string cur;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\n') {
      if (!cur.empty() && cur.back() == '\r') cur.pop_back();
      lines.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  if (!cur.empty()) lines.push_back(cur);
  return lines;
}

}  // namespace testing_support
