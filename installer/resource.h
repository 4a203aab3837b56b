// Resource and control numbers of Orv Install.
#pragma once

// Main window
#define IDC_PATH 101
#define IDC_BROWSE 102
#define IDC_GO 103
#define IDC_PROGRESS 104

// Welcome window
#define IDC_MEMO 201
#define IDC_VIEWUG 202
#define IDC_DONOTHING 203
#define IDC_CLOSEBTN 204
