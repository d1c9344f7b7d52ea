#include "shell/UzeCmd.h"

TCmdSettings Cmd;
