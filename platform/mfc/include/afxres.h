// afxres.h: resource numbers the framework reserves, for sources and resource scripts alike.
#pragma once

// String resource: the application's title, the name CWinApp takes when it is given none.
#define AFX_IDS_APP_TITLE 0xE000

// Standard command ids of the Edit menu, routed by WM_COMMAND.
#define ID_EDIT_COPY 0xE122
