// Windows only: the catalogue inside kqmfc.dll, and setFile's file sharing.
#include "kqmessages.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {
const std::string dataDir = KQ_MESSAGES_DATA;
} // namespace

TEST(MessageCatalogueDll, TheGlobalCatalogueLivesInTheLibrary) {
  const HMODULE library = GetModuleHandleA("kqmfc.dll");
  ASSERT_NE(library, nullptr);
  MEMORY_BASIC_INFORMATION where{};
  ASSERT_NE(VirtualQuery(&theMessage, &where, sizeof(where)), 0u);
  EXPECT_EQ(where.AllocationBase, static_cast<void*>(library)); // imported, not a copy in the test
  const FARPROC exported = GetProcAddress(library, "theMessage");
  EXPECT_EQ(reinterpret_cast<void*>(exported), static_cast<void*>(&theMessage));

  theMessage.setAt(31337, "through the import");
  EXPECT_STREQ(KQGetMessage(31337), "through the import");
  theMessage.removeAll();
}

TEST(MessageCatalogueDll, SetFileReadsAFileThatAnotherHandleIsWriting) {
  char folder[MAX_PATH];
  ASSERT_NE(GetTempPathA(MAX_PATH, folder), 0u);
  const std::string path = std::string(folder) + "kq_messages_shared.msg";
  // Another writer keeps the file open, allowing others to read and write: setFile must open it anyway.
  const HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  const char record[] = "8\t\"written meanwhile\"\r\n";
  DWORD written = 0;
  ASSERT_TRUE(WriteFile(writer, record, sizeof(record) - 1, &written, nullptr));

  EXPECT_EQ(theMessage.setFile(path.c_str()), 1);
  EXPECT_STREQ(theMessage(8), "written meanwhile");

  CloseHandle(writer);
  DeleteFileA(path.c_str());
  theMessage.removeAll();
}
