#include "common/run_files.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "common/records.hpp"

namespace {

namespace fs = std::filesystem;

const rec::Format kLine("(a)");

class RunFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("run_files_test." + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  void put(const std::string& name, const std::string& text) const { std::ofstream(path(name)) << text; }
  std::string get(const std::string& name) const {
    std::ifstream in(path(name));
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  // Names in the directory besides the lock file.
  int entries() const {
    int n = 0;
    for (const auto& e : fs::directory_iterator(dir_)) n += e.path().filename() != rec::kLockFileName;
    return n;
  }
  fs::path dir_;
};

// A table written in a run is read back from its temporary, replaces the old
// file only at commit, and a link in its place is replaced, not written through.
TEST_F(RunFilesTest, StagedUntilCommitAndReadBackWithinTheRun) {
  put("lines", "list\n");
  fs::create_symlink("lines", path("table71"));
  put("table72", "old\n");
  {
    rec::RunFiles files("tesk");
    rec::RunFilesScope scope(files);
    for (const char* name : {"table71", "table72"}) {
      rec::TextWriter out(path(name));
      out.write(kLine, {std::string_view("new")});
      out.close();
    }
    EXPECT_EQ(get("table72"), "old\n");
    rec::TextReader back(path("table72"));
    std::string rec;
    ASSERT_EQ(back.next_record(rec), rec::ReadStatus::ok);
    EXPECT_EQ(rec, "new");
    files.commit();
  }
  EXPECT_EQ(get("table72"), "new\r\n");
  EXPECT_EQ(get("table71"), "new\r\n");
  EXPECT_FALSE(fs::is_symlink(path("table71")));
  EXPECT_EQ(get("lines"), "list\n");
  EXPECT_EQ(entries(), 3);  // no temporary left
}

TEST_F(RunFilesTest, AbandonedRunLeavesEveryFileAsItWas) {
  put("table72", "old\n");
  {
    rec::RunFiles files("tesk");
    rec::RunFilesScope scope(files);
    rec::TextWriter out(path("table72"));
    out.write(kLine, {std::string_view("partial")});
    rec::TextWriter fresh(path("table73"));
    fresh.close();
  }  // destroyed without commit, a writer still open
  EXPECT_EQ(get("table72"), "old\n");
  EXPECT_EQ(entries(), 1);
}

TEST_F(RunFilesTest, OutputThatIsAnInputIsRefused) {
  put("lines", "list\n");
  fs::create_hard_link(path("lines"), path("table80"));
  rec::RunFiles files("tesk");
  rec::RunFilesScope scope(files);
  rec::TextReader in(path("lines"));
  EXPECT_THROW(rec::TextWriter(path("table80")), rec::RecordError);
  // The other order: the output staged first, the input opened later.
  fs::create_symlink("lines", path("table71"));
  files.abandon();
  rec::RunFiles other("tesk");
  rec::RunFilesScope other_scope(other);
  rec::TextWriter out(path("table71"));
  out.close();
  EXPECT_THROW(rec::TextReader(path("lines")), rec::RecordError);
  EXPECT_EQ(get("lines"), "list\n");
}

TEST_F(RunFilesTest, NonRegularInputIsRefusedWithoutWaiting) {
  ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);
  EXPECT_THROW(rec::TextReader(path("fifo")), rec::RecordError);
  EXPECT_THROW(rec::DirectFile(path("fifo"), 10), rec::RecordError);
  EXPECT_THROW(rec::TextReader(dir_.string()), rec::RecordError);
}

TEST_F(RunFilesTest, SecondRunInADirectoryIsRefusedNamingTheHolder) {
  auto holder = std::make_unique<rec::RunFiles>("kormal");
  holder->lock_directory(dir_.string());
  rec::RunFiles second("tesk");
  try {
    second.lock_directory(dir_.string());
    FAIL() << "the lock was taken twice";
  } catch (const rec::RecordError& e) {
    EXPECT_NE(std::string(e.what()).find("(kormal, process " + std::to_string(::getpid()) + ")"), std::string::npos)
        << e.what();
  }
  holder.reset();  // released with its holder
  EXPECT_NO_THROW(second.lock_directory(dir_.string()));
}

}  // namespace
