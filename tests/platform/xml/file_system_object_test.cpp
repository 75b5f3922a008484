#include <gtest/gtest.h>

#include <sys/stat.h>

#include "platform/automation/automation.h"
#include "platform/xml/FileSystemObject.h"
#include "support/automation_test.h"
#include "support/environment.h"

namespace quillane {
namespace {

using testing::ErrorOf;
using testing::ReadFile;

class FileSystemObjectTest : public ::testing::Test {
 protected:
  testing::TempDir dir;
  FileSystemObject fso;
};

TEST_F(FileSystemObjectTest, UnicodeTextFilesAreUtf16WithAByteOrderMark) {
  std::string path = dir.file("bulk.xml");
  auto stream = fso.CreateTextFile(path, true, true);
  stream->Write("<Root>中文");
  stream->Write("</Root>");
  stream->Close();
  stream->Close();  // a second close does nothing

  std::string bytes = ReadFile(path);
  ASSERT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  EXPECT_EQ(Utf16LeToUtf8(reinterpret_cast<const std::uint8_t*>(bytes.data()) + 2, bytes.size() - 2),
            "<Root>中文</Root>");
  EXPECT_EQ(fso.GetFile(path)->Size(), bytes.size());
  EXPECT_EQ(ErrorOf([&] { stream->Write("late"); }).number, 54);
}

TEST_F(FileSystemObjectTest, OverwriteDecidesWhetherAnExistingFileIsReplaced) {
  std::string path = dir.write("page.xml", "old content");
  AutomationError exists = ErrorOf([&] { fso.CreateTextFile(path, false, false); });
  EXPECT_EQ(exists.number, 58);
  EXPECT_NE(exists.description.find("page.xml"), std::string::npos);
  EXPECT_EQ(ReadFile(path), "old content");

  auto stream = fso.CreateTextFile(path, true, false);
  stream->Write("new");
  stream->Close();
  EXPECT_EQ(ReadFile(path), "new");
}

TEST_F(FileSystemObjectTest, ExistsDeleteAndSize) {
  std::string path = dir.write("a.xml", "12345");
  EXPECT_TRUE(fso.FileExists(path));
  EXPECT_FALSE(fso.FileExists(dir.path().string()));  // a folder is no file
  EXPECT_EQ(fso.GetFile(path)->Size(), 5u);

  ::chmod(path.c_str(), 0444);
  if (::geteuid() != 0) {  // root may write anything, so only others see a read-only file refused
    EXPECT_EQ(ErrorOf([&] { fso.DeleteFile(path, false); }).number, 70);
  }
  fso.DeleteFile(path, true);
  EXPECT_FALSE(fso.FileExists(path));
  EXPECT_EQ(ErrorOf([&] { fso.DeleteFile(path, true); }).number, 53);
  EXPECT_EQ(ErrorOf([&] { fso.GetFile(path); }).number, 53);
}

TEST_F(FileSystemObjectTest, CreatingInAMissingFolderRaisesPathNotFound) {
  AutomationError e = ErrorOf([&] { fso.CreateTextFile(dir.file("none/x.xml"), true, true); });
  EXPECT_EQ(e.number, 76);
  EXPECT_NE(e.description.find("none/x.xml"), std::string::npos);
}

// A full device is error 57 as the runtime numbers it, with the system's reason beside the file.
TEST_F(FileSystemObjectTest, AFullDeviceSaysWhy) {
  auto stream = fso.CreateTextFile("/dev/full", true, true);
  AutomationError e = ErrorOf([&] {
    stream->Write(std::string(1 << 16, 'x'));
    stream->Close();
  });
  EXPECT_EQ(e.number, 57);
  EXPECT_EQ(e.description, "Device I/O error: /dev/full (No space left on device)");
}

TEST_F(FileSystemObjectTest, LateBoundCallsAsTheBulkFilesMakeThem) {
  ObjectRef fsoObject = CreateObject("Scripting.FileSystemObject");
  std::string path = dir.file("late.xml");
  std::vector<Variant> create{path, true, true};
  ObjectRef stream = fsoObject->Call("CreateTextFile", create).object();
  std::vector<Variant> text{"<Root/>"};
  stream->Call("Write", text);
  std::vector<Variant> none;
  stream->Call("Close", none);
  std::vector<Variant> file{path};
  EXPECT_EQ(fsoObject->Call("FileExists", file), Variant(true));
  EXPECT_EQ(fsoObject->Call("GetFile", file).object()->Get("Size"), Variant(std::int32_t{16}));
  fsoObject->Call("DeleteFile", file);  // force defaults to False
  EXPECT_EQ(fsoObject->Call("FileExists", file), Variant(false));
}

}  // namespace
}  // namespace quillane
