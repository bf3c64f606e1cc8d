// Resource ids, by kind. Shared by the resource script and the program.
#ifndef SKERROW_RESOURCE_H
#define SKERROW_RESOURCE_H

// Controls that are never addressed
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Menu
#define IDR_MAINMENU 101

// Dialog templates
#define IDD_WRITEFILEAS 102
#define IDD_SWAPFIELDS 103
#define IDD_CONVERSION 104

// Menu commands
#define IDM_OPEN 40001
#define IDM_EXIT 40002
#define IDM_REDRAW 40003
#define IDM_RECTANGLE 40004
#define IDM_CIRCLE 40005
#define IDM_SELECTALL 40006
#define IDM_MOVEALL 40007
#define IDM_POLYGON 40008
#define IDM_OUTSIDE 40009
#define IDM_WHOLEFILE 40010

// Radio buttons
#define IDC_SWAP_YES 1001
#define IDC_SWAP_NO 1002
#define IDC_FORM_COMMA 1003
#define IDC_FORM_SPACE 1004
#define IDC_FORM_TAB 1005
#define IDC_CONV_M2FT 1006
#define IDC_CONV_FT2M 1007
#define IDC_CONV_FACTOR 1008

// Check boxes
#define IDC_SKIPHEADER 2001
#define IDC_MODIFYVALUES 2002
#define IDC_ELEVATIONSONLY 2003

// Static texts and edits
#define IDC_LINECOUNT 3001
#define IDC_FIELDCOUNT 3002
#define IDC_TABCOUNT 3003
#define IDC_FACTOR 3004

#endif
