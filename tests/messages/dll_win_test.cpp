// Windows only: the catalogue inside kqmfc.dll, and setFile on a file another handle is writing.
#include "kqmessages.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

TEST(MessageCatalogueDll, TheGlobalCatalogueLivesInTheLibrary) {
  const HMODULE library = GetModuleHandleA("kqmfc.dll");
  ASSERT_NE(library, nullptr);
  MEMORY_BASIC_INFORMATION where{};
  ASSERT_NE(VirtualQuery(&theMessage, &where, sizeof(where)), 0u);
  EXPECT_EQ(where.AllocationBase, static_cast<void*>(library)); // imported, not a copy in the test
  EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(library, "theMessage")), static_cast<void*>(&theMessage));
}

TEST(MessageCatalogueDll, SetFileReadsAFileThatAnotherHandleIsWriting) {
  char folder[MAX_PATH];
  ASSERT_NE(GetTempPathA(MAX_PATH, folder), 0u);
  const std::string path = std::string(folder) + "kq_messages_shared.msg";
  // The writer lets others read and write: setFile must open the file anyway.
  const HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  const char record[] = "8\t\"written meanwhile\"\r\n";
  DWORD written = 0;
  EXPECT_TRUE(WriteFile(writer, record, sizeof(record) - 1, &written, nullptr));
  EXPECT_EQ(theMessage.setFile(path.c_str()), 1);
  EXPECT_STREQ(theMessage(8), "written meanwhile");
  CloseHandle(writer);
  DeleteFileA(path.c_str());
  theMessage.removeAll();
}
