// Resource ids of the module's dialogs and bitmaps, and the control ids of each dialog. The
// resource script includes this file too, so it holds plain macros only.
#pragma once

#define IDD_STATUS_PANEL 101
#define IDB_LAMP_OFF 102
#define IDB_LAMP_ON 103
#define IDD_IMAGE_SETTING 105
#define IDD_NEW_HARD_DISK 106
#define IDD_NEW_FLOPPY 107
#define IDD_DISK_SETTING 108

// Image file setting.
#define IDC_LABEL_CAPTION 1035
#define IDC_LABEL 1019
#define IDC_WRITE_PROTECT 1024
#define IDC_SETTING_OK 1025

// New floppy image and new hard-disk image.
#define IDC_NEW_BLANK 1026
#define IDC_NEW_CONVERT 1027
#define IDC_NEW_GROUP 1035
#define IDC_NEW_LETTER 1028
#define IDC_NEW_MEDIA 1029
#define IDC_NEW_FD_PROGRESS 1033
#define IDC_NEW_START 1030
#define IDC_NEW_CANCEL 1031
#define IDC_NEW_SIZE 1032
#define IDC_NEW_HD_PROGRESS 1034

// Disk setting.
#define IDC_FDWAIT 1042
#define IDC_DRIVE_1 1036
#define IDC_DRIVE_2 1037
#define IDC_MEDIA_1 1038
#define IDC_MEDIA_2 1039
#define IDC_EDITOR_PATH 1040
#define IDC_EDITOR_BROWSE 1041
#define IDC_SAVE 1  // Enter saves as well

// What the dialog manager sends for the Enter and Escape keys.
#define IDOK_KEY 1
#define IDCANCEL_KEY 2
