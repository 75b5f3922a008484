#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <optional>

#include "platform/automation/automation.h"
#include "platform/xml/output_file.h"
#include "support/automation_test.h"
#include "support/environment.h"

namespace quillane {
namespace {

using testing::ErrorOf;
using testing::ReadFile;

class OutputFileTest : public ::testing::Test {
 protected:
  // Every name in the folder, so that a temporary file left beside the target shows.
  std::vector<std::string> names() const {
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
      found.push_back(entry.path().filename().string());
    std::sort(found.begin(), found.end());
    return found;
  }
  static unsigned modeOf(const std::string& path) {
    struct stat s {};
    EXPECT_EQ(::stat(path.c_str(), &s), 0) << path;
    return s.st_mode & 07777;
  }
  static void write(const std::string& target, const std::string& text) {
    OutputFile file(target);
    file.Write(text);
    file.Keep();
  }

  testing::TempDir dir;
};

TEST_F(OutputFileTest, TheFileInTheTargetsPlaceKeepsTheTargetsModeAndANewOneTheUmasks) {
  const mode_t previous = ::umask(027);
  struct Case {
    std::optional<unsigned> before;  // the target's mode, none for a new file
    unsigned after;
  };
  for (const Case& c : {Case{0600, 0600}, Case{0640, 0640}, Case{0664, 0664}, Case{std::nullopt, 0640}}) {
    const std::string target = dir.file("out.xml");
    std::filesystem::remove(target);
    if (c.before) {
      dir.write("out.xml", "old");
      ::chmod(target.c_str(), *c.before);
    }
    write(target, "new");
    EXPECT_EQ(ReadFile(target), "new");
    EXPECT_EQ(modeOf(target), c.after) << std::oct << c.before.value_or(0);
  }
  ::umask(previous);
}

TEST_F(OutputFileTest, ASymlinkStaysAndTheFileItNamesIsReplaced) {
  dir.write("real/target.xml", "old");
  ::chmod(dir.file("real/target.xml").c_str(), 0600);
  std::filesystem::create_symlink("real/target.xml", dir.file("link.xml"));
  std::filesystem::create_symlink("link.xml", dir.file("link-of-link.xml"));
  std::filesystem::create_symlink("real/new.xml", dir.file("dangling.xml"));
  for (const char* link : {"link.xml", "link-of-link.xml"}) {
    write(dir.file(link), link);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file(link)));
    EXPECT_EQ(ReadFile(dir.file("real/target.xml")), link);
    EXPECT_EQ(modeOf(dir.file("real/target.xml")), 0600u);
  }
  write(dir.file("dangling.xml"), "made");
  EXPECT_TRUE(std::filesystem::is_symlink(dir.file("dangling.xml")));
  EXPECT_EQ(ReadFile(dir.file("real/new.xml")), "made");
  EXPECT_EQ(names(), (std::vector<std::string>{"dangling.xml", "link-of-link.xml", "link.xml", "real"}));
}

TEST_F(OutputFileTest, AFileNotKeptLeavesTheTargetAsItWasAndNothingBesideIt) {
  const std::string target = dir.write("out.xml", "old");
  {
    OutputFile file(target, OutputFile::Encoding::Utf16Le);
    file.Write("half");
    EXPECT_EQ(names().size(), 2u) << "the temporary file lies beside the target";
  }
  EXPECT_EQ(ReadFile(target), "old");
  {
    OutputFile file(target);
    file.Write("half");
    OutputFile::RemoveUnkept();  // as a signal handler would before the process ends
    EXPECT_EQ(names(), std::vector<std::string>{"out.xml"});
  }
  EXPECT_EQ(ReadFile(target), "old");
}

TEST_F(OutputFileTest, ABulkFileIsUtf16WithAByteOrderMark) {
  const std::string target = dir.file("bulk.xml");
  OutputFile file(target, OutputFile::Encoding::Utf16Le);
  file.Write("<Root>中");
  file.Write("</Root>");
  file.Keep();
  const std::string bytes = ReadFile(target);
  ASSERT_TRUE(bytes.starts_with("\xFF\xFE"));
  EXPECT_EQ(Utf16LeToUtf8(reinterpret_cast<const std::uint8_t*>(bytes.data()) + 2, bytes.size() - 2), "<Root>中</Root>");
}

TEST_F(OutputFileTest, AFailureNamesTheTargetInTheUsersLanguageNeverTheTemporaryFile) {
  struct Case {
    const char* language;
    const char* text;
  };
  for (const Case& c : {Case{"chs", "无法写入文件："}, Case{"en", "Cannot write file: "}, Case{"cht", "無法寫入文件："}}) {
    testing::ScopedEnv language("QUILLANE_LANGUAGE", c.language);
    const std::string missing = dir.file("no-folder/out.xml");
    EXPECT_EQ(ErrorOf([&] { OutputFile file(missing); }).description,
              c.text + missing + " (No such file or directory)");
    // A full device fails when what was written reaches it.
    AutomationError full = ErrorOf([&] {
      OutputFile file("/dev/full");
      file.Write("text");
      file.Keep();
    });
    EXPECT_EQ(full.description, std::string(c.text) + "/dev/full (No space left on device)");
  }
  EXPECT_TRUE(names().empty());
}

TEST_F(OutputFileTest, AnOutputThatIsTheAccountSetOrAFileOfItsEngineIsRefused) {
  const std::string set = dir.write("a.db", "set");
  dir.write("a.db-shm", "shared memory");
  std::filesystem::create_symlink("a.db", dir.file("link.db"));
  std::filesystem::create_hard_link(set, dir.file("hard.db"));
  const std::string relative = std::filesystem::relative(set).string();
  testing::ScopedEnv language("QUILLANE_LANGUAGE", "en");
  for (const std::string& target : {set, dir.file("link.db"), dir.file("hard.db"), relative, dir.file("./a.db"),
                                    set + "-wal", set + "-shm", set + "-journal"}) {
    EXPECT_EQ(ErrorOf([&] { RefuseAccountSetAsOutput(target, set); }).description,
              "The output file is a file of the account set itself; nothing was written: " + target);
  }
  dir.write("other.xml", "other");
  for (const std::string& target : {dir.file("other.xml"), dir.file("new.xml"), set + ".xml"})
    EXPECT_NO_THROW(RefuseAccountSetAsOutput(target, set)) << target;
}

}  // namespace
}  // namespace quillane
