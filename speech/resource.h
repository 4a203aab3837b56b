// Resource numbers of the speech stand-in.
#pragma once

#define IDD_GENERAL 100
#define IDD_TRAINING 101

#define IDC_THRESHOLD 1001
#define IDC_ENABLED 1002
#define IDC_AWAKE 1003
#define IDC_PHRASES 1004
#define IDC_TRAINING_TEXT 1005
