// afxext.h: the framework's extension classes. This layer has none beyond afxwin.h (no control bars
// or splitters); the header exists so that sources written for the framework build unchanged.
#pragma once

#include "afxwin.h"
