#pragma once
// Start-up of the desktop tool: the file type, the application with its
// menu bar, the main window, and the event loop.

class MainWindow;

namespace quorin::app {

// The whole run of the desktop tool; returns the process's exit code.
int RunQuorin(int argc, char** argv);

// Connects the Script Tools extraction and database commands of the main
// window to the windows that carry them out.
void InstallRoutes(MainWindow& window);

}  // namespace quorin::app
