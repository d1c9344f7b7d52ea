// String ids of the cabinet reader's error texts (resources/zeCabConsts.rc).
// The decompression texts sit at IDS_FDI_BASE + error code, the compression
// texts at IDS_FCI_BASE + error code.
#pragma once

#define IDS_FDI_BASE 4000
#define IDS_FDI_LAST 4011
#define IDS_FDI_OTHER 4015
#define IDS_FCI_BASE 4016
#define IDS_FCI_LAST 4024
#define IDS_FCI_OTHER 4031
#define IDS_CAB_SETPOSITION 4032
