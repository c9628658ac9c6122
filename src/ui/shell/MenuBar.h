#pragma once
// MenuBar1: the one set of menus every window of the tool carries. Each
// window gets its own bar (the toolkit puts a bar inside its window); the
// commands all go to the single main window, the Edit items to the text
// field that has the focus, and Protect Map is enabled on every bar at once.

class QMainWindow;

// Gives window the menu bar MenuBar1 with the File, Edit and Script Tools
// menus. Items are found by name (window.findChild<QAction*>("Fileopen")).
void InstallMenuBar(QMainWindow& window);

// Enables or disables Script Tools > Protect Map on every bar, also on bars
// installed later.
void SetProtectMapEnabled(bool enabled);
bool ProtectMapEnabled();
