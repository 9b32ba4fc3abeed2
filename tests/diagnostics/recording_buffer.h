// A stream buffer that records what it is handed, for testing the shared put area without a platform.
#pragma once

#include "kqdiagnostics.h"

#include <string>
#include <vector>

struct Delivery {
  std::string text; // up to the terminating NUL the buffer placed
  int length;       // the count the buffer passed
  bool terminated;  // the byte at text + length was NUL
};

class RecordingBuffer : public KQMFCStreamBuffer {
public:
  explicit RecordingBuffer(std::vector<Delivery>& sink) : sink(sink) {}
  ~RecordingBuffer() override { flushPending(); }

private:
  void deliver(const char* text, int length) override {
    sink.push_back({std::string(text), length, text[length] == '\0'});
  }
  std::vector<Delivery>& sink;
};
