// Resource identifiers shared by the resource script and the program.
#pragma once

// The program icon; also the tray icon.
#define IDI_QUANDLE 101
