// The per-thread diagnostic record: attached streams with their ownership flags.
#include "kqdiagnostics.h"

namespace {
// Attach `stream` in place of `current`, deleting the previous one when it was owned.
std::ostream* replaceStream(std::ostream*& current, int& owns, std::ostream* stream, int owned) {
  std::ostream* previous = current;
  if (owns != 0 && previous != nullptr)
    delete previous;
  owns = owned;
  current = stream;
  return previous;
}

void releaseStream(std::ostream*& current, int owns) {
  if (owns != 0 && current != nullptr)
    delete current;
  current = nullptr;
}
} // namespace

KQDebugInfo::KQDebugInfo()
    : warningStream(nullptr), logStream(nullptr), debugStream(nullptr), criticalErrorsHidden(0),
      ownsWarningStream(0), ownsLogStream(0), ownsDebugStream(0) {}

KQDebugInfo::~KQDebugInfo() = default;

std::ostream* KQDebugInfo::setDebugStream(std::ostream* stream, int owned) {
  return replaceStream(debugStream, ownsDebugStream, stream, owned);
}

std::ostream* KQDebugInfo::setLogStream(std::ostream* stream, int owned) {
  return replaceStream(logStream, ownsLogStream, stream, owned);
}

std::ostream* KQDebugInfo::setWarningStream(std::ostream* stream, int owned) {
  return replaceStream(warningStream, ownsWarningStream, stream, owned);
}

void KQDebugInfo::finish() {
  releaseStream(debugStream, ownsDebugStream);
  releaseStream(logStream, ownsLogStream);
  releaseStream(warningStream, ownsWarningStream);
}
