// Resource and command IDs of histview, shared by the resource script and the code.
#pragma once

#define IDD_ABOUTBOX 100
#define IDD_HISTVIEW_DIALOG 102
#define IDD_EDIT_DATA 135

#define IDS_ABOUTBOX 101
#define IDS_DELETE_QUESTION 102
#define IDS_WARNING 103
#define IDS_COLUMN_DATE 104
#define IDS_COLUMN_UPLOAD 105
#define IDS_COLUMN_DOWNLOAD 106
#define IDS_COLUMN_BOTH 107
#define IDS_COLUMN_ONLINE 127
#define IDS_RESTORE_QUESTION 128
#define IDS_EDIT_NOTICE 129
#define IDS_HISTORY_UNREADABLE 140
#define IDS_SAVE_FAILED 141
#define IDS_RESTORE_FAILED 142
#define IDS_NOT_A_NUMBER 143

#define IDR_MAINFRAME 128
#define IDB_EXPAND_BOXES 129
#define IDB_SMALL_IMAGES 130
/* The same images drawn for higher DPIs, 20, 24 and 32 pixels a side. */
#define IDB_EXPAND_BOXES_20 200
#define IDB_EXPAND_BOXES_24 201
#define IDB_EXPAND_BOXES_32 202
#define IDB_SMALL_IMAGES_20 203
#define IDB_SMALL_IMAGES_24 204
#define IDB_SMALL_IMAGES_32 205
#define IDR_MENU_YEAR 132
#define IDR_MENU_ROWS 134

#define IDC_UPDATE 3
#define IDC_TREELIST 1000
#define IDC_RESTORE 1001
#define IDC_UPLOAD 1003
#define IDC_DOWNLOAD 1004

#define ID_DELETE 32773
#define ID_EXCEL_EXPORT 32776
#define ID_EDIT_DATA 32777

/* The chart window and the CSV export. */
#define IDD_CHART 150
#define IDS_CHART_YEAR_TITLE 150
#define IDS_CHART_NO_DATA 151
#define IDS_CSV_SAVE_TITLE 152
#define IDS_CSV_FILTER 153
#define IDS_CSV_WRITE_FAILED 154
#define IDS_CSV_INSTEAD 155
#define IDS_HISTORY_NOT_READ 156
#define IDS_SAVE_DIALOG_FAILED 157
#define IDS_CHART_FAILED 158
#define ID_CHART 32780
#define ID_CSV_EXPORT 32781

/* Write protection, typed limits. 160 is the CSV file's captions (history/app_texts.def). */
#define IDS_HISTORY_READ_ONLY 161
#define IDS_VALUE_TOO_LARGE 162
/* A clicked row gone from the file; impossible volumes in the history. */
#define IDS_ROW_GONE 163
#define IDS_IMPOSSIBLE_VOLUMES 164

/* The chart's figures, forecast, copy and image file. */
#define IDS_CHART_TOTAL 170
#define IDS_CHART_PER_DAY 171
#define IDS_CHART_PER_MONTH 172
#define IDS_CHART_FORECAST 173
#define IDS_CHART_COPY 174
#define IDS_CHART_SAVE 175
#define IDS_CHART_SAVE_TITLE 176
#define IDS_PNG_FILTER 177
#define IDS_PNG_WRITE_FAILED 178
#define IDS_CHART_IMAGE_FAILED 179
#define IDS_CLIPBOARD_FAILED 180
#define ID_CHART_COPY 32790
#define ID_CHART_SAVE 32791

/* The chart's data allowance: its dialog, its figures. */
#define IDD_ALLOWANCE 190
#define IDS_CHART_ALLOWANCE 190
#define IDS_ALLOWANCE_NOT_A_NUMBER 191
#define IDS_ALLOWANCE_OUT_OF_RANGE 192
#define IDS_ALLOWANCE_NOT_SAVED 193
#define IDS_ALLOWANCE_FIGURE 194
#define IDS_ALLOWANCE_USED 195
#define IDS_ALLOWANCE_LEFT 196
#define IDS_ALLOWANCE_OVER_BY 197
#define IDS_ALLOWANCE_PER_DAY 198
#define IDS_ALLOWANCE_PER_DAY_TODAY 199
#define IDS_ALLOWANCE_FORECAST 200
#define IDS_ALLOWANCE_SHARE 201
#define IDS_ALLOWANCE_FAILED 202
#define IDC_ALLOWANCE_ON 1010
#define IDC_ALLOWANCE_GB 1011
#define IDC_ALLOWANCE_BOTH 1012
#define IDC_ALLOWANCE_DOWNLOAD 1013
#define ID_CHART_ALLOWANCE 32792

/* The system menu's "About" command; system command IDs keep their low four bits free. */
#define IDM_ABOUTBOX 0x0010

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
