// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Start-up of the desktop tool: the application, the dialog seam, the menu
// router and the main window of the run (each owned here, for the whole
// run), the extraction commands over the main window's map, the menu
// commands, and the event loop.

#include <functional>
#include <string>
#include <vector>

class MainWindow;

namespace quorin::ui {
class DialogSeam;
class ExtractionCommands;
}

namespace quorin::app {

// The whole run of the desktop tool; returns the process's exit code.
int RunQuorin(int argc, char** argv);

// The run once the application exists: a usage error goes to stderr, a
// names file that cannot be used is shown in a message box (through
// dialogs) as well (exit 2 after either), else the main window runs until
// the event loop ends. The menu router and the main window live as long as
// this call; every window of the run is given them and dialogs.
// namesFromEnvironment: the value of QUORIN_MAP_NAMES, if set.
int StartQuorin(const std::vector<std::string>& arguments, const char* namesFromEnvironment,
                ui::DialogSeam& dialogs);

// Makes the extraction commands over window's map state (they belong to
// window and make their windows with window's context), refills an open
// range window after each of window's loads, and wires every command of
// window's menu router that has no standard handler: File > Open, Open
// Read-Only, Open Recent, Protect Map, the undo and redo of writes and Back
// Up Before First Write to window, Edit > Find and its Next and Previous to
// the window they are chosen in, the Extract... items and Database to the
// extraction commands, Edit as Text to a text editor on the script or
// global the main window shows (editors hear of every write and load, and
// write through the main window), and the Help items to the window they are
// chosen in.
// The backup item shows window's setting; backupChanged, when given, hears
// each change of it.
ui::ExtractionCommands& WireCommands(MainWindow& window, std::function<void(bool)> backupChanged = {});

}  // namespace quorin::app
