#include "ui/shell/WindowChrome.h"

#include <QMainWindow>
#include <QWidget>

namespace quorin::ui {

namespace {

int MenuHeight(const QMainWindow& window) {
    const QWidget* menu = window.menuWidget();
    return menu ? menu->sizeHint().height() : 0;
}

}  // namespace

void ApplyContentSize(QMainWindow& window, int width, int height) {
    const int menuHeight = MenuHeight(window);
    window.setMinimumSize(64, 64 + menuHeight);
    window.setMaximumSize(32000, 32000 + menuHeight);
    window.resize(width, height + menuHeight);
}

void FixContentSize(QMainWindow& window, int width, int height) {
    window.setFixedSize(width, height + MenuHeight(window));
}

}  // namespace quorin::ui
