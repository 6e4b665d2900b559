/* Resource ids of the skin-library tests. */
#define IDD_SKIN_DIALOG 100
#define IDC_SKIN_TEXT 1001
