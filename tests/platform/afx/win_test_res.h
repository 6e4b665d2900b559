/* Resource ids of the class-library tests. */
#define IDD_TEST_NAME 201
#define IDD_TEST_MODELESS 202
#define IDC_NAME 1001
#define IDC_AGE 1002
#define IDC_AGREE 1003
#define IDC_INFO 1004
#define IDS_TEST_GREETING 301
#define IDS_TEST_LONG 302
#define IDS_TEST_TITLE 317
#define IDB_TEST_BITMAP 401
