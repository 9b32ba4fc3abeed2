// setFile through the real text-mode file stream, and on a file that another handle is writing.
#include "kqmessages.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>

// 400 KiB of CR LF records, one longer than the 128 KiB buffer: every length meets a buffer boundary.
TEST(MessageCatalogueDll, SetFileReadsALargeCrLfFileAcrossStreamBufferBoundaries) {
  const std::string path = "kq_messages_crlf.msg";
  std::map<long, std::string> expected;
  std::string file;
  for (long n = 1; file.size() < 400 * 1024; ++n) {
    std::string text(static_cast<size_t>(n * 7 % 97), static_cast<char>('a' + n % 26));
    if (n == 500)
      text.assign(140 * 1024, 'L');
    file += std::to_string(n) + "\t\"" + text + (n % 3 == 0 ? "\r\nnext line" : "") + "\\n\"\r\n";
    expected[n] = text + (n % 3 == 0 ? "\nnext line" : "") + "\n";
  }
  std::ofstream(path, std::ios::binary) << file;
  ASSERT_EQ(theMessage.setFile(path.c_str()), 1);
  EXPECT_EQ(theMessage.getCount(), expected.size());
  for (const auto& [n, text] : expected)
    ASSERT_EQ(theMessage(n), text) << n;
  DeleteFileA(path.c_str());
  theMessage.removeAll();
}

TEST(MessageCatalogueDll, SetFileReadsAFileThatAnotherHandleIsWriting) {
  const std::string path = "kq_messages_shared.msg";
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
