// Resource numbers of Orv Configuration: the icon, the logo and the window's controls.
#pragma once

#define IDI_MAIN 1
#define IDB_LOGO 100

#define IDC_SAVECLOSE 1001
#define IDC_PAGECONTROL 1002
#define IDC_GENERALPAGE 1003
#define IDC_ORVLOGO 1004
#define IDC_LABEL8 1005
#define IDC_LABEL9 1006
#define IDC_LABEL10 1007
#define IDC_LABEL11 1008
#define IDC_BEVEL 1009
#define IDC_AUTOLOAD 1010
#define IDC_COMMANDSPAGE 1011
#define IDC_LIST 1012
#define IDC_LABEL12 1013
#define IDC_VOICE 1014
#define IDC_ADD 1015
#define IDC_DELETE 1016
#define IDC_MODIFY 1017
#define IDC_LABEL13 1018
#define IDC_DESCRIPTION 1019
#define IDC_PROGRAM 1020
