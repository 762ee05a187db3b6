// Resource and command identifiers of sonaro.exe, shared by the resource script and the code.
#pragma once

// The main frame's resource set: title string, menu and accelerators.
#define IDR_MAINFRAME 128
#define IDD_ABOUTBOX 100

// The framework's standard command identifiers.
#define ID_EDIT_COPY 0xE122
#define ID_EDIT_CUT 0xE123
#define ID_EDIT_PASTE 0xE125
#define ID_EDIT_UNDO 0xE12B
#define ID_APP_ABOUT 0xE140
#define ID_APP_EXIT 0xE141
#define ID_NEXT_PANE 0xE150
#define ID_PREV_PANE 0xE151

// The frame's client window.
#define AFX_IDW_PANE_FIRST 0xE900
