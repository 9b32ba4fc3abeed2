// KQCString: the 8-bit string class of the base string library (kqbase.dll).
//
// A length-counted, NUL-terminated byte string. Only the operations below exist; they are what the
// message catalogue relies on. Appending one character at a time is amortised O(1): capacity grows
// geometrically. Allocation failure throws std::bad_alloc and leaves the string unchanged.
//
// A string may hold characters that a KQCStringPool shares among many strings (see kqcstringpool.h).
// Nothing in the operations below shows the difference: a copy gets characters of its own, a move
// carries the shared characters along, and any change gives the string characters of its own first.
#pragma once

#if defined(_WIN32)
#if defined(KQBASE_BUILD)
#define KQBASE_API __declspec(dllexport)
#else
#define KQBASE_API __declspec(dllimport)
#endif
#else
#define KQBASE_API
#endif

class KQBASE_API KQCString {
public:
  // The empty text; allocates nothing.
  KQCString() noexcept;
  // A one-character text (the character may be NUL: length 1).
  explicit KQCString(char ch);
  KQCString(const KQCString& other);
  // Leaves `other` empty.
  KQCString(KQCString&& other) noexcept;
  ~KQCString();

  KQCString& operator=(const KQCString& other);
  KQCString& operator=(KQCString&& other) noexcept;
  // Copies a NUL-terminated string; a null pointer gives the empty text.
  KQCString& operator=(const char* text);
  // Copies `length` bytes from `text`, NUL bytes included; a length of 0 or less (or a null `text`) gives
  // the empty text. `text` may point into this string.
  // The empty text is given without allocating (a string with room of its own keeps it).
  KQCString& assign(const char* text, int length);

  // Appends `other` (self-append allowed).
  KQCString& append(const KQCString& other);
  // Appends `ch` `count` times; a count of 0 or less appends nothing.
  KQCString& append(char ch, int count);

  // The characters, NUL-terminated, valid while the string is unchanged; never null.
  const char* data() const noexcept { return chars; }
  operator const char*() const noexcept { return chars; }
  // Number of characters, 0 when empty.
  int length() const noexcept { return size; }

private:
  friend class KQCStringPool;

  void reserve(int needed);
  // Lets go of the characters: frees them when the string owns them, gives back its use of a pool's
  // block when it shares them. Leaves the fields as they are.
  void release() noexcept;

  char* chars;
  int size;
  // > 0: characters of its own, room for `capacity` plus the terminator; 0: `chars` points at the
  // shared empty text; < 0: characters in a pool's block (see kqcstringblock.h).
  int capacity;
};
