// The text-file form of a window's lines. Platform-free.
#pragma once

#include <afx.h>
#include <afxcoll.h>

#include <cstdio>

// Writes every line of `lines`, oldest first, to `out`: each line's bytes up to its first NUL (all of
// them when it has none) and a '\n', flushing after each line; then one more '\n'. `out` is a text
// stream, so on Windows each '\n' reaches the file as CR LF. Write errors are not reported.
void KQSaveLines(const CStringList& lines, std::FILE* out);
