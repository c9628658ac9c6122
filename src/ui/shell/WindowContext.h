// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What every window of the tool is given when it is made: the menu router
// its bar comes from and the dialog seam its boxes go through. Both belong
// to start-up (or to a test) and outlive the windows of the run.

namespace quorin::ui {

class DialogSeam;
class MenuRouter;

struct WindowContext {
    MenuRouter& menus;
    DialogSeam& dialogs;
};

}  // namespace quorin::ui
