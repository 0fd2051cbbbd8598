// The identifiers of linkwait's string table (both languages).
#pragma once

#define IDS_WATCHER_CAPTION 101
#define IDS_START_FAILED 102
