// The tests' model of a profile file (support/profile_text.h) against GetPrivateProfileStringA
// itself, on the cases where readers of INI files differ.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "support/profile_text.h"

namespace {

TEST(ProfileText, ReadsAsTheSystemReads) {
  struct Case {
    const char* name;
    const char* text;
    const char* section;
    const char* key;
  } cases[] = {
      {"a repeated key: the first", "[S]\nk=1\nk=2\n", "S", "k"},
      {"a repeated section: the first", "[S]\na=1\n[S]\nb=2\n", "S", "b"},
      {"case and spaces", "[ Sec ]\n  Key  =  some value \t\r\n", " sec ", "KEY"},
      {"double quotes", "[S]\nk=\"quoted value\"\n", "S", "k"},
      {"single quotes", "[S]\nk='quoted'\n", "S", "k"},
      {"quotes that do not match", "[S]\nk=\"half'\n", "S", "k"},
      {"an inner quote", "[S]\nk=a\"b\"\n", "S", "k"},
      {"a key without a value", "[S]\nk\nj=2\n", "S", "k"},
      {"a comment line", "[S]\n;k=1\nk=2\n", "S", "k"},
      {"text after the section's bracket", "[S] tail\nk=1\n", "S", "k"},
      {"a value with an equals sign", "[S]\nk=a=b\n", "S", "k"},
      {"a missing key", "[S]\nk=1\n", "S", "x"},
  };
  int number = 0;
  for (const Case& c : cases) {
    // A file of its own for each case: the system keeps the files it has read in a cache.
    char path[MAX_PATH];
    std::snprintf(path, sizeof path, ".\\profile_text_%lu_%d.ini", GetCurrentProcessId(), ++number);
    FILE* file = std::fopen(path, "wb");
    ASSERT_NE(file, nullptr);
    std::fputs(c.text, file);
    std::fclose(file);
    char value[4096];
    DWORD length = GetPrivateProfileStringA(c.section, c.key, "", value, sizeof value, path);
    DeleteFileA(path);
    EXPECT_EQ(ProfileText(c.text).Read(c.section, c.key), std::string(value, length)) << c.name;
  }
}

}  // namespace
