// afxres.h: resource numbers the framework reserves, for sources and resource scripts alike.
#pragma once

// String resource: the application's title, the name CWinApp takes when it is given none.
#define AFX_IDS_APP_TITLE 0xE000

// Standard command ids of the File and Edit menus, routed by WM_COMMAND.
#define ID_FILE_SAVE_AS 0xE104
#define ID_EDIT_COPY 0xE122
#define ID_EDIT_FIND 0xE124
#define ID_EDIT_REPEAT 0xE128
#define ID_EDIT_SELECT_ALL 0xE12A
