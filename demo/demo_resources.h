// Resource numbers of the demo host. The input dialog's template (IDD_INPUT_DIALOG) and edit control
// come from kqwindows.h: the library asks the host for them.
#pragma once

#define IDR_MAINMENU 200
#define ID_DEMO_INPUT 201
#define ID_DEMO_TAKE_INPUT 202
#define ID_DEMO_CRITICAL 203
#define ID_DEMO_FONT 204
#define ID_DEMO_OUTPUT_FONT 205
#define ID_DEMO_SAVE_OUTPUT 206
#define ID_DEMO_CLEAR_OUTPUT 207
#define ID_DEMO_EXIT 208
#define ID_DEMO_COPY_OUTPUT 209
