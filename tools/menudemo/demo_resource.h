// Resource identifiers of the menu demo.
#pragma once

#define IDR_DEMO_MENU 100
#define IDR_DEMO_ACCELERATORS 101

#define ID_FILE_NEW 1001
#define ID_FILE_OPEN 1002
#define ID_FILE_SAVE 1003
#define ID_FILE_EXIT 1004
// The Recent Files submenu: ID_FILE_RECENT_FIRST + n for its n-th file (17 of them).
#define ID_FILE_RECENT_FIRST 1010
#define ID_FILE_RECENT_COUNT 17
#define ID_VIEW_STATUS 1101
#define ID_VIEW_LARGE 1102
#define ID_VIEW_SMALL 1103
#define ID_HELP_ABOUT 1201
// ID_STYLE_FIRST + n chooses style n.
#define ID_STYLE_FIRST 1300
