// Diagnostic streams of kqmfc.dll.
//
// Every thread of the host has its own diagnostic record, a KQDebugInfo, reached with GetDebugThreadInfo.
// The record holds four streams:
//   - debug, log and warning: std::ostream objects that the host attaches (any ostream; typically one built
//     on a KQMFCDebugBuffer or a KQMFCLogBuffer), each with an ownership flag;
//   - critical error: an in-memory stream inside the record whose text displayCriticalError shows in a
//     Yes/No message box.
// The library never writes to these streams itself, and takes no lock: GetDebugThreadInfo hands each
// thread its own record. A stream attached to the records of several threads is shared without any lock
// from the records; its safety is its own (the stream buffers below take none).
//
// Typical use on a thread (KQOwnedStream, below, is a stream that owns its buffer):
//   KQDebugInfo& info = GetDebugThreadInfo();
//   info.setDebugStream(new KQOwnedStream<KQMFCDebugBuffer>, 1); // owned: the record deletes it
//   info.DebugStream() << "started" << std::endl;                  // reaches the debugger output
//   ...
//   info.finish(); // before the thread ends: deletes the stream, whose buffer sends its last text
#pragma once

#include "kqexport.h"

#include <ios>
#include <istream>
#include <ostream>
#include <streambuf>

// <strstream> is deprecated but is what the critical-error stream is: it is included without its warning,
// and the host's own warnings stay as they were. What it depends on is included above, with the host's
// settings; the macro that enables the warning is restored; and the warning's include guard is cleared
// again, so that a deprecated header the host includes later still warns.
#if defined(_BACKWARD_BACKWARD_WARNING_H)
#include <strstream> // the host has had the warning already
#else
#pragma push_macro("__DEPRECATED")
#undef __DEPRECATED
#include <strstream>
#pragma pop_macro("__DEPRECATED")
#undef _BACKWARD_BACKWARD_WARNING_H
#endif

class COutputWindow;

// One thread's diagnostic record. Not copyable. Created and destroyed by the library only.
//
// Ownership: a stream attached with a non-zero `owned` flag must have been created with `new`; the record
// deletes it (through its virtual destructor) when it is replaced by the same set operation or released
// by finish(). A stream attached with owned 0 stays the host's. The record never deletes a stream when
// the thread ends: call finish() before the end of a thread that attached owned streams, or they leak.
// A stream may be attached to several records, but owned by at most one.
//
// Layout note: this record keeps only the fields listed below; it has no reserved words.
class KQMFC_API KQDebugInfo {
public:
  // Empty critical-error stream, no streams attached, critical errors shown.
  KQDebugInfo();
  // Destroys the critical-error stream and its text; attached streams are left alone, owned or not.
  ~KQDebugInfo();

  // The attached streams. The host attaches a stream before using its accessor: calling one while its
  // stream is null is undefined (there is no default stream).
  std::ostream& DebugStream() const { return *debugStream; }
  std::ostream& LogStream() const { return *logStream; }
  std::ostream& WarningStream() const { return *warningStream; }
  // The output side of the record's critical-error stream; always usable. A write that finds no memory
  // for the text sets the stream's badbit (later writes are then ignored) until the next box.
  std::ostream& CriticalErrorStream() { return criticalErrorStream; }

  // Attach `stream` (null detaches) and record whether the record owns it. The stream attached until now
  // is deleted first when it was owned. Returns the previous stream: when it was owned it has just been
  // deleted and the value may only be compared, never used. Never pass the currently attached, owned
  // stream to its own set operation again (it would be deleted and then stored).
  std::ostream* setDebugStream(std::ostream* stream, int owned);
  std::ostream* setLogStream(std::ostream* stream, int owned);
  std::ostream* setWarningStream(std::ostream* stream, int owned);

  // Releases the debug, then the log, then the warning stream: owned ones are deleted; all three
  // pointers are null afterwards. Harmless on a record with nothing attached.
  void finish();

  // Shows what was written to CriticalErrorStream() since the last box, followed by the source file,
  // line and date under French labels and the question "Voulez vous voir les prochains messages ?",
  // in a Yes/No message box, and returns when the user has closed it. Answering No (or a box that
  // cannot be shown) silences this thread's later critical errors for the rest of its life; other
  // threads are not affected. While silenced, calls show nothing and leave the stream as it is, so
  // text written to it keeps accumulating. `line` is written with the stream's current formatting
  // (std::hex on the stream shows 255 as ff). `file` and `date` are NUL-terminated, never null.
  // Memory running out throws nothing: the box shows what the stream could store of the text (its last
  // character gives way to the terminating NUL), and a box that cannot be shown for want of memory counts
  // as one that cannot be shown. After each box, or box that could not be shown, the stream is empty and
  // its error state cleared.
  void displayCriticalError(const char* file, int line, const char* date);

  std::ostream* warningStream;
  std::ostream* logStream;
  std::ostream* debugStream;
  std::strstream criticalErrorStream;
  int criticalErrorsHidden;
  int ownsWarningStream;
  int ownsLogStream;
  int ownsDebugStream;

private:
  // A record is never copied or assigned.
  KQDebugInfo(const KQDebugInfo&) = delete;
  KQDebugInfo& operator=(const KQDebugInfo&) = delete;
};

// The calling thread's diagnostic record.
//
// Every thread that starts while kqmfc.dll is loaded gets its record at once; a thread that was already
// running when the library was loaded (or whose record could not be allocated then) gets one at its first
// call. The record lives until its thread ends; the thread that unloads the library loses its record
// then too. The record takes no lock: a host that hands the reference to another thread serialises the
// uses itself.
// When no memory can be had for a new record, std::bad_alloc is thrown (the reference cannot report it)
// and the thread stays without a record, so a later call tries again.
KQMFC_API KQDebugInfo& GetDebugThreadInfo();

// The two stream buffers. Each keeps a 1024-character put area whose pending text it hands on in one
// piece at every flush (sync), when a character is written to a full put area (overflow) and when it
// is destroyed. A newline does not flush by itself. Write-only: reading gives end-of-file. Not
// copyable; no lock: a buffer shared by several threads must be serialised by the host.
//
// sync and overflow always return 0. The array holds one byte beyond the 1024 characters of the put
// area, so the terminating NUL placed after the pending text has room also when all 1024 are pending.

// Stream buffer whose text goes to the debugger output (OutputDebugStringA), one call per flush, per
// 1024 characters and at destruction. An empty flush sends the empty string. A NUL inside the pending
// text ends the string the debugger receives.
class KQMFC_API KQMFCDebugBuffer : public std::basic_streambuf<char> {
public:
  // Allocates the array; throws the allocator's exception when it cannot.
  KQMFCDebugBuffer();
  // Sends the pending text, then frees the array.
  ~KQMFCDebugBuffer() override;
  // Sends the pending text, then keeps ch (unless EOF) as the first character of the emptied put area.
  int overflow(int ch) override;

private:
  int underflow() override;

public:
  // Sends the pending text (also when none is pending) and empties the put area.
  int sync() override;

private:
  // Number of pending characters.
  virtual int out_waiting() const;

public:
  KQMFCDebugBuffer(const KQMFCDebugBuffer&) = delete;
  KQMFCDebugBuffer& operator=(const KQMFCDebugBuffer&) = delete;

private:
  friend class KQPutArea;
  char* buffer;
};

// Stream buffer whose text goes to an output window: COutputWindow::Display(text, length) on the flushing
// thread, once per flush (also with length 0), per 1024 characters and at destruction. Without a window
// the pending text is dropped at each flush. The buffer does not own the window: before the window is
// destroyed, the host sets another window or null.
//
// When Display throws (memory exhausted while the window stores the text), the pending text is gone all
// the same and the exception goes on to the flushing stream, which sets its badbit (std::ostream catches
// it; clear() makes the stream usable again). The destructor lets nothing escape: text that the window
// cannot store at that moment is dropped.
class KQMFC_API KQMFCLogBuffer : public std::basic_streambuf<char> {
public:
  // No window; allocates the array (throws the allocator's exception when it cannot).
  KQMFCLogBuffer();
  // Delivers the pending text to the window set at that moment, then frees the array.
  ~KQMFCLogBuffer() override;
  // Delivers the pending text, then keeps ch (unless EOF) as the first character of the emptied put area.
  int overflow(int ch) override;

private:
  int underflow() override;

public:
  // Delivers the pending text (also when none is pending) when a window is set, and empties the put
  // area in every case.
  int sync() override;
  // The window that later flushes use; null stops the delivery. Pending text is not flushed here.
  void setWnd(COutputWindow* newWindow) { window = newWindow; }

private:
  // Number of pending characters.
  virtual int out_waiting() const;

public:
  KQMFCLogBuffer(const KQMFCLogBuffer&) = delete;
  KQMFCLogBuffer& operator=(const KQMFCLogBuffer&) = delete;

private:
  friend class KQPutArea;
  COutputWindow* window;
  char* buffer;
};

// An output stream that owns its stream buffer (any default-constructible one), so that a record that
// owns the stream owns both:
//   auto* log = new KQOwnedStream<KQMFCLogBuffer>;
//   log->Buffer().setWnd(window);
//   info.setLogStream(log, 1); // the record deletes the stream when it is replaced or at finish()
// Deleting the stream destroys its buffer, whose destructor hands the last pending text on. The buffer
// is a base constructed before the stream and destroyed after it, so the stream is never without a valid
// buffer. Not copyable. Header-only.
template <class StreamBuffer> struct KQOwnedStreamBuffer { StreamBuffer ownedBuffer; };

template <class StreamBuffer>
class KQOwnedStream : private KQOwnedStreamBuffer<StreamBuffer>, public std::ostream {
public:
  KQOwnedStream() : std::ostream(&this->ownedBuffer) {}
  ~KQOwnedStream() override = default;
  KQOwnedStream(const KQOwnedStream&) = delete;
  KQOwnedStream& operator=(const KQOwnedStream&) = delete;

  StreamBuffer& Buffer() { return this->ownedBuffer; }
};
