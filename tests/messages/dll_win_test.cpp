// Windows only: setFile on a file that another handle is writing. That theMessage and KQGetMessage are the
// library's one catalogue is shown by golden_test.cpp.
#include "kqmessages.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

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
