// The fast display window's queue of pending input: bytes put in front, taken from the front.
// Platform-free.
#pragma once

#include <afx.h>

// Makes `input` the count bytes at text (NUL bytes included, text only read) followed by what it held.
// count <= 0 puts nothing in front. On an allocation failure `input` is unchanged.
void KQPrependInput(CString& input, const char* text, int count);

// Moves up to `size` bytes from the front of `input` into `buffer` (no NUL is added) and returns how
// many it moved: min(size, length), 0 when size <= 0. Once nothing remains, the storage is released.
int KQTakeInput(CString& input, char* buffer, int size) noexcept;
