// KQCString: the 8-bit string class of the base string library (kqbase.dll).
//
// A length-counted, NUL-terminated byte string. Only the operations below exist; they are what the
// message catalogue relies on. Appending one character at a time is amortised O(1): capacity grows
// geometrically. Allocation failure throws std::bad_alloc and leaves the string unchanged.
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
  void reserve(int needed);

  char* chars;
  int size;
  int capacity; // 0 while `chars` points at the shared empty text
};
