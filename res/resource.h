// Resource ids of the uninstaller, grouped by kind.
#pragma once

// Dialog templates: one per language, chosen by the language flag.
#define IDD_UNINSTALL           102
#define IDD_UNINSTALL_DE        103

// Icons
#define IDI_UNINSTALL           1

// Controls
#define IDC_APP_LIST            1001
#define IDC_REMOVE              1003
#define IDC_PRODUCT_ICON        1005
#ifndef IDC_STATIC
#define IDC_STATIC              (-1)
#endif

// Strings. A message text has its English id; the German text is that id + 1000.
#define IDS_PRODUCT_NAME        6
#define IDS_MESSAGE_CAPTION     7
#define IDS_CONFIRM_REMOVE      100
#define IDS_REMOVE_DONE         101
#define IDS_FILES_IN_USE        102
#define IDS_CONFIRM_REMOVE_DE   1100
#define IDS_REMOVE_DONE_DE      1101
#define IDS_FILES_IN_USE_DE     1102
