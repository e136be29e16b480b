// Stage 1: format strings parse once into a reusable value; malformed ones are
// bugs and throw std::invalid_argument.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/records.hpp"

namespace {

// The format strings of the programs' sources: every string literal (adjacent
// literals joined) that opens with "(" and closes with ")", outside comments.
struct FoundFormat {
  std::string where;  // file:line
  std::string text;
};

void scan_source(const std::filesystem::path& file, std::vector<FoundFormat>& found) {
  std::ifstream in(file, std::ios::binary);
  const std::string src((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::size_t n = src.size();
  std::size_t i = 0, line = 1;
  auto step = [&] {
    if (src[i++] == '\n') ++line;
  };
  auto skip_blanks_and_comments = [&] {
    for (;;) {
      if (i < n && std::isspace(static_cast<unsigned char>(src[i]))) {
        step();
      } else if (src.compare(i, 2, "//") == 0) {
        while (i < n && src[i] != '\n') ++i;
      } else if (src.compare(i, 2, "/*") == 0) {
        for (i += 2; i < n && src.compare(i, 2, "*/") != 0;) step();
        i += 2;
      } else {
        return;
      }
    }
  };
  // Skips the literal that opens at i with `quote`, escapes included; returns its text.
  auto literal = [&](char quote) {
    std::string text;
    for (++i; i < n && src[i] != quote; ++i) {
      if (src[i] == '\\') text += src[i++];
      text += src[i];
    }
    ++i;
    return text;
  };
  while (i < n) {
    skip_blanks_and_comments();
    if (i >= n) break;
    const bool after_word = i > 0 && std::isalnum(static_cast<unsigned char>(src[i - 1]));
    if (src[i] == '"' && !after_word) {
      const std::size_t first_line = line;
      std::string text = literal('"');
      for (skip_blanks_and_comments(); i < n && src[i] == '"'; skip_blanks_and_comments()) text += literal('"');
      if (text.size() >= 2 && text.front() == '(' && text.back() == ')') {
        found.push_back({file.filename().string() + ":" + std::to_string(first_line), text});
      }
    } else if (src[i] == '\'' && !after_word) {
      literal('\'');  // a character literal: '"' and '(' are no strings
    } else {
      ++i;
    }
  }
}

TEST(FormatParse, EveryProgramFormatParses) {
  std::vector<FoundFormat> found;
  for (const char* dir : {"common", "tesk", "kormal"}) {
    const std::filesystem::path root = std::filesystem::path(LF_SOURCE_DIR) / dir;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
      const auto ext = entry.path().extension();
      if (ext == ".cpp" || ext == ".hpp") scan_source(entry.path(), found);
    }
  }
  // The sources held this many when the scan was written; fewer means the
  // scan no longer sees them.
  EXPECT_GE(found.size(), 41u);
  for (const FoundFormat& f : found) {
    SCOPED_TRACE(f.where + " " + f.text);
    EXPECT_NO_THROW(rec::Format{f.text});
  }
}

// Formats of steps that are not built yet, copied exactly.
constexpr const char* kFormatsToCome[] = {
    "(a7)", "(a200)", "(a24)", "(i1)", "(a103)", "(1x,f9.4,1x,f7.1,1x,e11.5)", "(1x,a7,1x,i3,1x,3(f9.3,4x))",
    "(160(f9.2,1x))", "(i5,1x,e11.4,1x,e11.4)", "(i2,i1,f12.6,e10.3,10x,f5.0,f5.4,f10.4,f4.2,f8.6,a24)",
    "(i1,a7)", "(f9.4,3(1x,e10.3))", "(f7.2,1x,f6.2)", "(a8,1x,f7.2,1x,f6.2,5x,f7.1,3(1x,e11.5))",
    "(a8,1x,f7.2,1x,f6.2,5x,f7.1)", "(a7,1x,i3,1x,3(f9.3,4x))", "(a62)", "(a6)", "(a25)", "(a23)", "(a1)",
    "(a,$)", "(9x,f7.2,1x,f6.2,5x,f7.1)", "(5x,A///)", "(1x,f9.4,1x,f7.1,1x,f7.1,3(1x,e11.5))", "(1x,a24)",
    "(161(e9.2,1x))", "('total TR at position of TG in window:',f8.3)",
    "('name     cm-1     window     e-prime   intensity   interfer', ' intens-inter')",
    "('frequency  e-prime  intensity')", "('contribution of TG at position of TG in %:',f8.3)", "('O')",
    "('.')", "(' SX',9(1pe9.2,1x))", "(' AK',9(1pe9.2, 1x))", "(' 3 ',i3)", "(' ')",
};

TEST(FormatParse, FormatsToComeParse) {
  for (const char* text : kFormatsToCome) {
    SCOPED_TRACE(text);
    EXPECT_NO_THROW(rec::Format{text});
  }
}

TEST(FormatParse, KeepsTheTextAsGiven) {
  rec::Format f("( 5X , A / )");
  EXPECT_EQ(f.text(), "( 5X , A / )");
  rec::Format copy(f);
  EXPECT_EQ(copy.text(), f.text());
  rec::Format moved(std::move(copy));
  EXPECT_EQ(moved.text(), f.text());
  copy = moved;
  EXPECT_EQ(copy.text(), f.text());
}

TEST(FormatParse, MalformedFormatsThrow) {
  const char* bad[] = {
      "",         "i3",        "(i3",       "(i3))",       "(i3) x",   "(q5)",     "(i)",
      "(f5)",     "(f5.)",     "(e9.0)",    "(i3 i4)",     "(0x)",     "(x)",      "('abc)",
      "(,i3)",    "(i3,)",     "(i3,,i4)",  "(0i3)",       "(-1x)",    "(p)",      "(2'ab')",
      "(1(1(1(1(1(1(1(1(1(1(1(1(1(1(1(1(1(i1)))))))))))))))))",  // 17 levels of groups
  };
  for (const char* text : bad) {
    SCOPED_TRACE(text);
    EXPECT_THROW(rec::Format{text}, std::invalid_argument);
  }
}

std::string nested(int levels) {
  std::string text = "(";
  for (int k = 0; k < levels; ++k) text += "1(";
  text += "i1";
  for (int k = 0; k < levels; ++k) text += ")";
  return text + ")";
}

TEST(FormatParse, GroupsNestUpToSixteenLevels) {
  EXPECT_NO_THROW(rec::Format{nested(16)});
  EXPECT_THROW(rec::Format{nested(17)}, std::invalid_argument);
}

}  // namespace
