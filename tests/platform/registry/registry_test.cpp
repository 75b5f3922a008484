#include "platform/registry/registry.h"

#include <gtest/gtest.h>

#include "platform/automation/errors.h"
#include "platform/automation/module.h"
#include "support/automation_test.h"
#include "support/environment.h"

namespace quillane::registry {
namespace {

using quillane::testing::ErrorOf;
using quillane::testing::ReadFile;
using quillane::testing::ScopedEnv;
using quillane::testing::TempDir;

constexpr const char* kKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\VELMORA\\ZIVOVIZIRADE";

class RegistryTest : public ::testing::Test {
 protected:
  std::string write(const std::string& text) { return dir.write("registry.ini", text); }
  std::string text() const { return ReadFile(path); }

  TempDir dir;
  std::string path = dir.file("registry.ini");
  ScopedEnv env{"QUILLANE_REGISTRY", path};
};

TEST_F(RegistryTest, KeyPathsAndValueNamesIgnoreCase) {
  WriteValue("HKEY_LOCAL_MACHINE\\SOFTWARE\\VELMORA\\ZIVOVIZIRADE", "Path", "/opt/a");
  WriteValue("hkey_local_machine\\software\\Velmora\\zivovizirade", "path", "/opt/b");

  EXPECT_EQ(ReadValue("HKEY_LOCAL_MACHINE\\SOFTWARE\\Velmora\\ZIVOVIZIRADE", "PATH"), "/opt/b");
  EXPECT_TRUE(KeyExists("HKEY_LOCAL_MACHINE\\SOFTWARE\\velmora"));
  // One key, one value: the second write replaced the first where it stood.
  EXPECT_EQ(text(), "[HKEY_LOCAL_MACHINE\\SOFTWARE\\VELMORA\\ZIVOVIZIRADE]\nPath=/opt/b\n");
}

TEST_F(RegistryTest, MissingFileKeyOrValueGivesTheDefault) {
  EXPECT_EQ(ReadValue(kKey, "path"), std::nullopt);
  EXPECT_EQ(ReadValue(kKey, "path", "fallback"), "fallback");
  EXPECT_FALSE(KeyExists(kKey));

  write("[HKEY_LOCAL_MACHINE\\SOFTWARE\\VELMORA\\ZIVOVIZIRADE]\nLanguage=en\n");
  EXPECT_EQ(ReadValue(kKey, "path", "fallback"), "fallback");
  EXPECT_EQ(ReadValue(kKey + std::string("\\ConFlict"), "Language", "fallback"), "fallback");
  EXPECT_EQ(ReadValue(kKey, "Language", "fallback"), "en");
  // An empty value is a value, not a missing one.
  WriteValue(kKey, "path", "");
  EXPECT_EQ(ReadValue(kKey, "path", "fallback"), "");
}

TEST_F(RegistryTest, KeyExistsForTheKeyAndEveryKeyAboveIt) {
  write("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Velmora\\ZIVOVIZIRADE\\ConFlict\\仓位]\n-2147483646=强制覆盖\n");
  EXPECT_TRUE(KeyExists("HKEY_LOCAL_MACHINE\\SOFTWARE\\Velmora\\ZIVOVIZIRADE\\ConFlict\\仓位"));
  EXPECT_TRUE(KeyExists("HKEY_LOCAL_MACHINE\\SOFTWARE\\VELMORA\\ZIVOVIZIRADE\\ConFlict\\"));
  EXPECT_TRUE(KeyExists("HKEY_LOCAL_MACHINE"));
  EXPECT_FALSE(KeyExists("HKEY_LOCAL_MACHINE\\SOFTWARE\\Velmora\\ZIVOVIZIRADE\\ConFlict\\仓库"));
  EXPECT_FALSE(KeyExists("HKEY_LOCAL_MACHINE\\SOFT"));  // a key name is not a prefix of its text
  EXPECT_FALSE(KeyExists(""));
  EXPECT_EQ(ReadValue("HKEY_LOCAL_MACHINE\\SOFTWARE\\Velmora\\ZIVOVIZIRADE\\ConFlict\\仓位", "-2147483646"),
            "强制覆盖");
}

TEST_F(RegistryTest, WriteAndDeleteRoundTrip) {
  const std::string conflict = std::string(kKey) + "\\ConFlict";
  WriteValue(kKey, "path", "/opt/quillane");
  WriteValue(conflict + "\\仓库", "-2147483646", "默认取消");
  WriteValue(conflict + "\\物料", "-2147483646", "强制覆盖");
  WriteValue(conflict + "X", "kept", "yes");  // a sibling whose name starts like the deleted key
  EXPECT_EQ(ReadValue(conflict + "\\仓库", "-2147483646"), "默认取消");

  DeleteKey(conflict);
  EXPECT_FALSE(KeyExists(conflict));
  EXPECT_FALSE(KeyExists(conflict + "\\物料"));
  EXPECT_EQ(ReadValue(kKey, "path"), "/opt/quillane");
  EXPECT_EQ(ReadValue(conflict + "X", "kept"), "yes");

  DeleteKey(conflict);  // a missing key is no error
  // The write went through a temporary file that is gone again.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST_F(RegistryTest, DeletingFromNoFileCreatesNone) {
  DeleteKey(kKey);
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(RegistryTest, AWriteKeepsWhatAPersonWroteInTheFile) {
  write("; settings of this machine\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\VELMORA\\ZIVOVIZIRADE]\r\n"
        "\tpath = /opt/old   ; not a comment, part of the value\r\n"
        "# the language of the messages\r\n"
        "Language=en\r\n"
        "\r\n"
        "[Other]\r\n"
        "a=1\r\n");
  WriteValue(kKey, "Language", "cht");
  WriteValue(kKey, "Added", "x");
  WriteValue("Third", "b", "2");
  EXPECT_EQ(text(),
            "; settings of this machine\r\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\VELMORA\\ZIVOVIZIRADE]\r\n"
            "\tpath = /opt/old   ; not a comment, part of the value\r\n"
            "# the language of the messages\r\n"
            "Language=cht\r\n"
            "Added=x\r\n"
            "\r\n"
            "[Other]\r\n"
            "a=1\r\n"
            "\r\n"
            "[Third]\r\n"
            "b=2\r\n");
  EXPECT_EQ(ReadValue(kKey, "path"), "/opt/old   ; not a comment, part of the value");
}

TEST_F(RegistryTest, ReadsHandWrittenFiles) {
  struct Case {
    const char* file;
    const char* key;
    const char* name;
    std::optional<std::string> value;
  };
  const Case cases[] = {
      {"\xEF\xBB\xBF[K]\nv=1\n", "K", "v", "1"},               // byte-order mark
      {"[K]\nv=1", "K", "v", "1"},                              // no final line break
      {"  [ A\\B ]  \n  v  =  spaced  \n", "A\\B", "v", "spaced"},
      {"[A\\\\B\\]\nv=1\n", "A\\B", "v", "1"},                  // empty parts of a path
      {"[K]\nv=1\n[k]\nv=2\n", "K", "v", "2"},                  // a key opened twice: the last value counts
      {"[K]\nv=a=b\n", "K", "v", "a=b"},                        // a name ends at the first "="
      {"[K]\nv=\" padded \"\n", "K", "v", " padded "},
      {"[K]\nv=\"say \\\"hi\\\"\\\\\\n\"\n", "K", "v", "say \"hi\"\\\n"},
      {"[K]\nv=\"\"\n", "K", "v", ""},
      {"[K]\n; v=1\n", "K", "v", std::nullopt},
  };
  for (const Case& c : cases) {
    write(c.file);
    EXPECT_EQ(ReadValue(c.key, c.name), c.value) << c.file;
  }
}

TEST_F(RegistryTest, ValuesSurviveAWriteAndARead) {
  const std::string values[] = {"", " leading", "trailing\t", "\"quoted\"", "two\nlines\r\n", "back\\slash",
                                "; looks like a comment", "[looks like a key]", "中文 值"};
  for (const std::string& v : values) {
    WriteValue(kKey, "v", v);
    EXPECT_EQ(ReadValue(kKey, "v"), v) << v;
  }
}

TEST_F(RegistryTest, AnUnreadableFileIsAnErrorNamingIt) {
  struct Case {
    const char* file;
    const char* fault;
  };
  const Case cases[] = {
      {"v=1\n", "line 1: a value before the first key"},
      {"[K]\njust text\n", "line 2: expected"},
      {"[K\n", "line 1: a key line must end"},
      {"[ ]\n", "line 1: the key path is empty"},
      {"[K]\n=1\n", "line 2: the value has no name"},
      {"[K]\nv=\"open\n", "line 2: the string has no closing quote in the value"},
      {"[K]\nv=\"a\\q\"\n", "line 2: unknown escape \\q"},
      {"[K]\nv=\"a\" b\n", "line 2: text after the closing quote"},
  };
  for (const Case& c : cases) {
    write(c.file);
    AutomationError e = ErrorOf([] { ReadValue("K", "v"); });
    EXPECT_EQ(e.number, kRegistryFileError);
    EXPECT_EQ(e.source, kRegistrySource);
    EXPECT_NE(e.description.find(path), std::string::npos) << e.description;
    EXPECT_NE(e.description.find(c.fault), std::string::npos) << e.description;
  }

  // Nothing is written over a file that could not be read: it stays for a person to mend.
  write("v=1\n");
  EXPECT_THROW(WriteValue("K", "v", "2"), AutomationError);
  EXPECT_THROW(DeleteKey("K"), AutomationError);
  EXPECT_EQ(text(), "v=1\n");
}

TEST_F(RegistryTest, AFolderOrABadPathIsAnErrorNamingIt) {
  std::filesystem::create_directory(path);
  AutomationError e = ErrorOf([] { KeyExists(kKey); });
  EXPECT_NE(e.description.find(path + "\": is not a file"), std::string::npos) << e.description;

  const std::string underAFile = dir.write("plain", "x") + "/registry.ini";
  ScopedEnv other("QUILLANE_REGISTRY", underAFile);
  e = ErrorOf([] { ReadValue(kKey, "path"); });
  EXPECT_NE(e.description.find(underAFile), std::string::npos) << e.description;
  e = ErrorOf([] { WriteValue(kKey, "path", "x"); });
  EXPECT_EQ(e.number, kRegistryFileError);
  EXPECT_NE(e.description.find(underAFile), std::string::npos) << e.description;
}

TEST_F(RegistryTest, NamesTheFileCannotCarryAreRefused) {
  const std::pair<const char*, const char*> bad[] = {
      {"", "v"}, {"\\\\", "v"}, {"K\nL", "v"}, {"K", ""}, {"K", "a=b"}, {"K", " v"}, {"K", "[v"}, {"K", "v\n"},
  };
  for (const auto& [key, name] : bad) {
    AutomationError e = ErrorOf([&] { WriteValue(key, name, "x"); });
    EXPECT_EQ(e.number, 5) << key << "/" << name;
  }
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(RegistryFile, DefaultsToTheDataFolder) {
  ScopedEnv unset("QUILLANE_REGISTRY", std::nullopt);
  EXPECT_EQ(RegistryFilePath(), DataFolder() + "/registry.ini");
}

}  // namespace
}  // namespace quillane::registry
