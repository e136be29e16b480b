// The console: first character of a record as carriage control, the line
// terminator written before the record, "$" prompts, messages and run end.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "common/records.hpp"

namespace {

using namespace std::string_view_literals;

// The bytes a sequence of console records produces, the run ended by finish().
std::string show(const std::vector<std::string>& records) {
  std::ostringstream out;
  rec::Console console(out);
  for (const std::string& r : records) console.record(r);
  console.finish();
  return out.str();
}

TEST(Console, CarriageControl) {
  struct Case {
    std::vector<std::string> records;
    const char* bytes;
  } cases[] = {
      {{" first"}, "first\r\n"},
      {{" a", " b"}, "a\r\nb\r\n"},
      {{"0first"}, "\r\nfirst\r\n"},       // first record: a single CR LF
      {{" a", "0b"}, "a\r\n\r\nb\r\n"},    // later: the terminator and one empty line
      {{"1page"}, "\r\n\f\r \rpage\r\n"},
      {{" a", "1b"}, "a\r\n\f\r \rb\r\n"},
      {{" abc", "+xy"}, "abc\rxy\r\n"},    // overprint
      {{"+first"}, "\rfirst\r\n"},
      {{"xword"}, "word\r\n"},             // any other character: a new line
      {{".dot", ".dot"}, "dot\r\ndot\r\n"},
      {{""}, "\r\n"},
      {{" a", "", " b"}, "a\r\n\r\nb\r\n"},
      {{}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.records));
    EXPECT_EQ(show(c.records), c.bytes);
  }
}

TEST(Console, TheThirtyCharacterRecordShowsTwentyNine) {
  std::ostringstream out;
  rec::Console console(out);
  console.write(rec::Format("(1x,f9.4,1x,f7.1,1x,e11.5)"), {0.0, 0.0, 0.0});
  EXPECT_EQ(out.str(), "    .0000      .0  .00000E+00");
  EXPECT_EQ(out.str().size(), 29u);
}

TEST(Console, PlainAFormatLosesTheFirstCharacter) {
  std::ostringstream out;
  rec::Console console(out);
  console.write(rec::Format("(1x,a)"), {"line"sv});
  console.write(rec::Format("(a)"), {".5 cm-1"sv});
  console.finish();
  EXPECT_EQ(out.str(), "line\r\n5 cm-1\r\n");
}

TEST(Console, PromptKeepsTheCursorOnItsLine) {
  std::ostringstream out;
  rec::Console console(out);
  console.write(rec::Format("(1x,a)"), {"Plot"sv});
  console.write(rec::Format("(a,$)"), {" Continue? "sv});
  console.write(rec::Format("(1x,a)"), {"next"sv});  // no terminator of its own
  console.write(rec::Format("(a,$)"), {" Again? "sv});
  console.write(rec::Format("('0',a)"), {"after"sv});  // treated as a first record
  console.write(rec::Format("(1x,a)"), {"last"sv});
  console.finish();
  EXPECT_EQ(out.str(), "Plot\r\nContinue? next\r\nAgain? \r\nafter\r\nlast\r\n");
}

TEST(Console, FreeFormLines) {
  std::ostringstream out;
  rec::Console console(out);
  console.write_free();
  console.write_free({" Program requires approx. "sv, 141, " Mbytes"sv});
  console.write_free();
  console.finish();
  EXPECT_EQ(out.str(), "\r\n Program requires approx. 141 Mbytes\r\n\r\n");
}

TEST(Console, MessagesStandOnTheirOwnLine) {
  struct Case {
    std::vector<std::string> records;  // "$..." stands for a prompt
    const char* message;
    const char* bytes;
  } cases[] = {
      {{}, "Stop - Program terminated.", "Stop - Program terminated.\r\n"},
      {{" Working"}, "Stop - Program terminated.", "Working\r\nStop - Program terminated.\r\n"},
      {{" a", "$ Name? "}, " Increase nuber of altitude levels MLEV in TESK",
       "a\r\nName? \r\n Increase nuber of altitude levels MLEV in TESK\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    std::ostringstream out;
    rec::Console console(out);
    for (const std::string& r : c.records) {
      if (r.front() == '$') {
        console.write(rec::Format("(a,$)"), {std::string_view(r).substr(1)});
      } else {
        console.record(r);
      }
    }
    console.message(c.message);
    console.finish();
    console.finish();  // a second run end adds nothing
    EXPECT_EQ(out.str(), c.bytes);
  }
}

}  // namespace
