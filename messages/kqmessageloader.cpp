// The catalogue's load: texts stored a batch at a time, their bucket heads prefetched first.
#include "kqmessageloader.h"

#include <utility>

void KQPendingTexts::add(KQCStringPool& pool, std::int32_t number, std::string_view text) {
  if (text.size() > static_cast<size_t>(INT_MAX - 1))
    throw std::bad_alloc(); // longer than any KQCString
  numbers[held] = number;
  pool.assign(texts[held], text.data(), static_cast<int>(text.size()));
  if (++held == capacity)
    store();
}

void KQPendingTexts::store() {
  const size_t count = held;
  held = 0; // an insertion that fails drops the texts after it; the ones before it stay stored
#if defined(__GNUC__)
  for (size_t i = 0; i < count; ++i)
    if (const void* slot = table.getBucketSlot(numbers[i]))
      __builtin_prefetch(slot, 1);
#endif
  for (size_t i = 0; i < count; ++i)
    table[numbers[i]] = std::move(texts[i]);
}

void loadMessages(std::istream& in, KQMessageTable& table) {
  KQMessageReader reader(in);
  kqLoadRecords(reader, table, [](std::int32_t, std::string_view) {});
}
