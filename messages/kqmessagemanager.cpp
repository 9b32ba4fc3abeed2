// KQMessageManager: the catalogue over a KQMessageTable, the process-wide theMessage and KQGetMessage.
#include "kqmessageloader.h"
#include "kqmessages.h"

#include <fstream>
#include <memory>

namespace {
// Lives in the library's read-only data: valid for as long as the library is loaded.
constexpr char notFoundText[] = "*** Message Not Found...\n";
} // namespace

// Constant-initialised (its constructor is constexpr): ready before any dynamic initialisation of the
// library or its host runs.
KQMessageManager theMessage;

int KQMessageManager::setFile(const char* fileName) {
  removeAll(); // first: the earlier messages are gone even when the file cannot be opened
  if (fileName == nullptr)
    return 0;
  // Text mode. The standard library opens files with the C runtime's default sharing, which lets other
  // processes read and write the file meanwhile.
  // The reader takes the stream's buffer in one piece at a time: a larger buffer than the default means
  // fewer reads from the file.
  const std::unique_ptr<char[]> buffer(new char[KQMessageInput::chunkSize]);
  std::ifstream in;
  in.rdbuf()->pubsetbuf(buffer.get(), KQMessageInput::chunkSize);
  in.open(fileName);
  if (!in.is_open() || in.fail())
    return 0;
  in.peek(); // some files open but cannot be read (a folder on Linux): that is a failure to open too
  if (in.bad())
    return 0;
  loadMessages(in, *this);
  return 1; // a failure to close (in the destructor) is not reported
}

const char* KQMessageManager::operator()(long number) const {
  size_t bucket = 0;
  const KQTAssoc* node = getAssocAt(number, bucket);
  return node != nullptr ? node->value.data() : notFoundText;
}

const char* KQGetMessage(long number) {
  return theMessage(number);
}
