// Resource and command numbers of Orvanta.exe.
#pragma once

#define IDD_STARTUP 102
#define IDM_POPUP 105
#define IDI_ACTIVE 106
#define IDD_ABOUT 109
#define IDB_NAME 110
#define IDD_INDICATOR 114
#define IDI_INACTIVE 115

#define IDT_STARTUP 100

#define IDM_EXIT 40001
#define IDM_TOGGLE 40002
#define IDM_OPTIONS 40003
#define IDM_SRPARAMETERS 40004
#define IDM_TRAINING 40005
#define IDM_ABOUT 40006
