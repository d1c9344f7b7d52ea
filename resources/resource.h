// Command ids shared by the menu bar, the accelerator table, the popup menu and
// the panel's buttons.
#pragma once

#define CMD_EXIT 100
#define CMD_LOAD 101
#define CMD_PROPERTIES 102
#define CMD_PLAY 110
#define CMD_PAUSE 111
#define CMD_STOP 112
#define CMD_SEGMENTS 113
#define CMD_PREV 114
#define CMD_NEXT 115
#define CMD_SHOWPANEL 120
#define CMD_FULLSCREEN 121
#define CMD_CONTEXTHELP 130
#define CMD_ABOUT 131
