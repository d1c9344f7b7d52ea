// String ids of the command line's error box (resources/UzeCmd.rc).
#pragma once

#define IDS_CMD_WRONG_COMMAND_LINE 4100
#define IDS_CMD_ERROR 4101
