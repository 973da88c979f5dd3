// Resource and command ids, shared by the .rc file and the code.
#pragma once

#define IDI_APP 1
#define IDB_TOOLBAR_NORMAL 101
#define IDB_TOOLBAR_HOT 102
#define IDC_HAND_POINTER 103
#define IDR_MAINMENU 200
#define IDR_ACCELERATORS 201

// Menu commands of the main window.
#define IDM_MERGE 1001
#define IDM_EXIT 1002
#define IDM_SORT_FILES_ASC 1003
#define IDM_SORT_FILES_DESC 1004
#define IDM_UP 1005
#define IDM_DOWN 1006
#define IDM_SELECT_ALL 1007
#define IDM_INVERT_SELECTION 1008
#define IDM_ADD 1009
#define IDM_REMOVE 1010
#define IDM_HELP 1011
#define IDM_ABOUT 1012

// Controls of the main window.
#define IDC_TOOLBAR 2001
#define IDC_FILELIST 2002
#define IDC_STATUSBAR 2003

// Toolbar buttons; the routing goes by their keys, these ids only name them.
#define IDT_ADD 3001
#define IDT_REMOVE 3002
#define IDT_UP 3003
#define IDT_DOWN 3004
#define IDT_MERGE 3005

// Controls of the progress dialog and the About box.
#define IDC_STATUS1 4001
#define IDC_STATUS2 4002
#define IDC_PROGRESSBAR 4003
#define IDC_IMAGE1 4101
#define IDC_LABEL1 4102
#define IDC_VERSION 4103
#define IDC_DESCRIPTION 4104
#define IDC_COPYRIGHT 4105
#define IDC_LABEL4 4106
#define IDC_WWW 4107
