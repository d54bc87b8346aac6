// Resource ids of vx5prcfg.rc, shared by the resource script and the module's
// code. Plain #defines so that a Windows resource compiler reads the same file.
#ifndef VX5PRCFG_RESOURCE_IDS_H
#define VX5PRCFG_RESOURCE_IDS_H

// The ids stay in aligned columns, as resource editors keep them.
// clang-format off

// Windows headers define these; the module's code on Linux has none.
#ifndef IDOK
#define IDOK 1
#endif
#ifndef IDCANCEL
#define IDCANCEL 2
#endif
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Dialog templates
#define IDD_SCHEDULE_TIME  4000
#define IDD_VALIDATE_DIN   4001
#define IDD_DEPT_CODE      4003
#define IDD_LOGIN          4004
#define IDD_TAB_PRINT      4038
#define IDD_INSERTER_PAPER 4040
#define IDD_PRIMARY_TAB    4045
#define IDD_BOX_PASSWORD   4047

// Bitmaps
#define IDB_BANK_MARKER 4016
#define IDB_TAB_SHEET   4020
#define IDB_PAPER_SIZES 4041

// Scheduled time (4000)
#define IDC_SCHEDULE_DATE 4000
#define IDC_SCHEDULE_TIME 4001

// Invalid DIN (4001)
#define IDC_DIN 4001

// Department code (4003)
#define IDC_DEPT_CODE             4003
#define IDC_DEPT_CODE_EXPLANATION 4113
#define IDC_DEPT_CODE_LABEL       4114

// Device login (4004)
#define IDC_LOGIN_USER_NAME 4001
#define IDC_LOGIN_PASSWORD  4004
#define IDC_LOGIN_HIDDEN    4005
#define IDC_LOGIN_BUTTON    4008

// Inserter paper size (4040)
#define IDC_INSERT_INVERTED  1008
#define IDC_PAPER_LIST       4098
#define IDC_PAPER_FULL_NAME  4099
#define IDC_PAPER_SIZE_LABEL 4102
#define IDC_PAPER_PROMPT     4103

// Box password (4047)
#define IDC_BOX_PASSWORD_LABEL       4115
#define IDC_BOX_PASSWORD             4116
#define IDC_BOX_PASSWORD_EXPLANATION 4117

// Tab dialogs (4038, 4045)
#define IDC_TAB_MANUFACTURER   1003
#define IDC_TAB_CASSETTE       1024
#define IDC_TAB_SCROLL         4018
#define IDC_TABS_PER_BANK      4108
#define IDC_TAB_SHIFT          4109
#define IDC_TAB_SHIFT_UNIT     4110
#define IDC_PRIMARY_SHIFT      4110
#define IDC_SHIFT_RANGE        4111
#define IDC_PRIMARY_SHIFT_UNIT 4112
#define IDC_TAB_LABEL1         4087
#define IDC_TAB_LABEL2         4088
#define IDC_TAB_LABEL3         4089
#define IDC_TAB_LABEL4         4090
#define IDC_TAB_LABEL5         4091
#define IDC_TAB_LABEL6         4092
#define IDC_TAB_LABEL7         4093
#define IDC_TAB_LABEL8         4094
#define IDC_TAB_PAGE1          7001
#define IDC_TAB_PAGE2          7002
#define IDC_TAB_PAGE3          7003
#define IDC_TAB_PAGE4          7004
#define IDC_TAB_PAGE5          7005
#define IDC_TAB_PAGE6          7006
#define IDC_TAB_PAGE7          7007
#define IDC_TAB_PAGE8          7008
#define IDC_TAB_LOCATION1      8001
#define IDC_TAB_LOCATION2      8002
#define IDC_TAB_LOCATION3      8003
#define IDC_TAB_LOCATION4      8004
#define IDC_TAB_LOCATION5      8005
#define IDC_TAB_LOCATION6      8006
#define IDC_TAB_LOCATION7      8007
#define IDC_TAB_LOCATION8      8008
#define IDC_BANK_MARKER1       9001
#define IDC_BANK_MARKER2       9002
#define IDC_BANK_MARKER3       9003
#define IDC_BANK_MARKER4       9004
#define IDC_BANK_MARKER5       9005
#define IDC_BANK_MARKER6       9006
#define IDC_BANK_MARKER7       9007
#define IDC_BANK_MARKER8       9008
#define IDC_BANK_LABEL1        10001
#define IDC_BANK_LABEL2        10002
#define IDC_BANK_LABEL3        10003
#define IDC_BANK_LABEL4        10004
#define IDC_BANK_LABEL5        10005
#define IDC_BANK_LABEL6        10006
#define IDC_BANK_LABEL7        10007
#define IDC_BANK_LABEL8        10008

// Strings
#define IDS_STR_SCHEDULE_ELAPSED         5004
#define IDS_STR_INVALID_DIN              5005
#define IDS_STR_INVALID_CHARACTER        5006
#define IDS_STR_ERROR                    5007
#define IDS_STR_ENTER_USERNAME           5008
#define IDS_STR_COMM_START_FAILED        5009
#define IDS_STR_ADMIN_LOGIN_REQUIRED     5010
#define IDS_STR_LOGIN_UNKNOWN            5011
#define IDS_STR_DEVICE_NOT_RESPONDING    5012
#define IDS_STR_NO_PRINTER_NAME          5013
#define IDS_STR_TAB_NO_CONNECTION        5014
#define IDS_STR_PAPER_LETTER_FULL        5016
#define IDS_STR_PAPER_A4_FULL            5017
#define IDS_STR_PAPER_LEGAL_FULL         5018
#define IDS_STR_PAPER_LEDGER_FULL        5020
#define IDS_STR_PAPER_FOLIO_FULL         5021
#define IDS_STR_PAPER_A3_FULL            5022
#define IDS_STR_NO_DEVICE_CONNECTION     5023
#define IDS_STR_PAPER_B4_FULL            5024
#define IDS_STR_PAPER_B5_FULL            5025
#define IDS_STR_PAPER_COMPUTER_FULL      5026
#define IDS_STR_PAPER_LETTER             5027
#define IDS_STR_PAPER_A4                 5028
#define IDS_STR_PAPER_LEGAL              5029
#define IDS_STR_PAPER_LEDGER             5030
#define IDS_STR_PAPER_FOLIO              5031
#define IDS_STR_PAPER_A3                 5032
#define IDS_STR_PAPER_B4                 5033
#define IDS_STR_PAPER_B5                 5034
#define IDS_STR_PAPER_COMPUTER           5035
#define IDS_STR_TAB_INSERTBEFORE         11050
#define IDS_STR_TAB_USEFOR               11051
#define IDS_STR_TAB_BYPASS_FEEDER        12001
#define IDS_STR_TAB_UNIT_MM              12003
#define IDS_STR_TAB_UNIT_INCHES          12004
#define IDS_STR_PAPER_SIZE_LABEL         12007
#define IDS_STR_PAPER_PROMPT             12008
#define IDS_STR_PAPER_INSERT_INVERTED    12009
#define IDS_STR_TAB_LOWER_DRAWER         12010
#define IDS_STR_IMAGE_LIST_FAILURE       12011
#define IDS_STR_FAILURE                  12012
#define IDS_STR_TAB_PAGES_SORTED         12013
#define IDS_STR_TAB_PAGES_LEFT_BLANK     12014
#define IDS_STR_TAB_WARNING              12015
#define IDS_STR_TAB_INVALID_VALUE        12016
#define IDS_STR_TAB_TAB                  12017
#define IDS_STR_TAB_BANK                 12018
#define IDS_STR_LOGIN_WELCOME            12022
#define IDS_STR_LOGIN_WAIT               12023
#define IDS_STR_LOGIN_TITLE              12024
#define IDS_STR_DEPT_CODE_TITLE          12025
#define IDS_STR_DEPT_CODE_EXPLANATION    12026
#define IDS_STR_DEPT_CODE_LABEL          12027
#define IDS_STR_DEPT_CODE_CONTINUE       12028
#define IDS_STR_DEPT_CODE_ABORT          12029
#define IDS_STR_BOX_PASSWORD_TITLE       12030
#define IDS_STR_BOX_PASSWORD_EXPLANATION 12031
#define IDS_STR_BOX_PASSWORD_LABEL       12032
#define IDS_STR_BOX_PASSWORD_OK          12033
#define IDS_STR_BOX_PASSWORD_CANCEL      12034
#define IDS_STR_UNUSED_12035             12035
#define IDS_STR_UNUSED_12037             12037

// Strings of the dialog framework (data exchange messages)
#define IDS_STR_DDX_INTEGER       61712
#define IDS_STR_DDX_NUMBER        61713
#define IDS_STR_DDX_INTEGER_RANGE 61714
#define IDS_STR_DDX_NUMBER_RANGE  61715
#define IDS_STR_DDX_TEXT_LIMIT    61716

// clang-format on

#endif  // VX5PRCFG_RESOURCE_IDS_H
