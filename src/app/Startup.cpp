// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Startup.h"

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QSettings>
#include <QTimer>
#include <cstdlib>
#include <iostream>

#include "app/StartOptions.h"
#include "ui/extract/ResultWindow.h"
#include "ui/extract/ExtractionCommands.h"
#include "ui/find/FindCommands.h"
#include "ui/main/MainWindow.h"
#include "ui/shell/Dialogs.h"
#include "ui/shell/FindInText.h"
#include "ui/shell/HelpWindows.h"
#include "ui/shell/MapText.h"
#include "ui/shell/MenuBar.h"

namespace quorin::app {

namespace {

// A handler that calls action on target while target exists, whichever
// window's bar was used.
template <typename Target>
ui::MenuHandler On(Target& target, void (Target::*action)()) {
    return [target = QPointer<Target>(&target), action](QMainWindow&) {
        if (target) (target.data()->*action)();
    };
}

constexpr const char* kBackUpItem = "ScriptToolsBackUp";
constexpr const char* kCompareWithItem = "FileCompareWith";
constexpr const char* kBackUpSetting = "writes/backupBeforeFirstWrite";

}  // namespace

ui::ExtractionCommands& WireCommands(MainWindow& window, std::function<void(bool)> backupChanged) {
    auto* commands =
        new ui::ExtractionCommands([&window]() -> const MapState& { return window.state(); }, &window);
    QObject::connect(&window, &MainWindow::mapLoaded, commands, &ui::ExtractionCommands::mapLoaded);

    ui::SetMenuCommand("Fileopen", On(window, &MainWindow::Fileopen_Action));
    ui::SetMenuCommand("FileOpenReadOnly", On(window, &MainWindow::FileOpenReadOnly_Action));
    ui::SetMenuCommand("ScriptToolsProtectMap", On(window, &MainWindow::ScriptToolsProtectMap_Action));
    ui::SetMenuCommand("ScriptToolsUndoWrite", On(window, &MainWindow::ScriptToolsUndoWrite_Action));
    ui::SetMenuCommand("ScriptToolsRedoWrite", On(window, &MainWindow::ScriptToolsRedoWrite_Action));
    ui::SetSubmenuFiller("FileOpenRecent", [target = QPointer<MainWindow>(&window)](QMenu& menu, QMainWindow&) {
        if (target) target->FileOpenRecent_Fill(menu);
    });
    // Only a result window has a text to save; the item is disabled elsewhere.
    ui::SetMenuCommand("FileSaveAs", [](QMainWindow& from) {
        if (auto* result = qobject_cast<ui::ResultWindow*>(&from)) result->saveAs();
    });
    ui::SetMenuCommand("EditFind", [](QMainWindow& from) { ui::FindInText::Show(from); });
    ui::SetMenuCommand("EditFindNext",
                       [](QMainWindow& from) { ui::FindInText::Again(from, ui::FindInText::Direction::Next); });
    ui::SetMenuCommand("EditFindPrevious",
                       [](QMainWindow& from) { ui::FindInText::Again(from, ui::FindInText::Direction::Previous); });
    ui::SetMenuItemChecked(kBackUpItem, window.backupBeforeFirstWrite());
    ui::SetMenuCommand(kBackUpItem, [target = QPointer<MainWindow>(&window), backupChanged](QMainWindow&) {
        const bool backup = ui::MenuItemChecked(kBackUpItem);
        if (target) target->setBackupBeforeFirstWrite(backup);
        if (backupChanged) backupChanged(backup);
    });
    ui::SetMenuCommand("Extractall", On(*commands, &ui::ExtractionCommands::extractAll));
    ui::SetMenuCommand("ExtractGlobalRange", On(*commands, &ui::ExtractionCommands::showGlobalRange));
    ui::SetMenuCommand("ExtractScriptRange", On(*commands, &ui::ExtractionCommands::showScriptRange));
    ui::SetMenuCommand("ScriptToolsdatabase", On(*commands, &ui::ExtractionCommands::database));
    ui::SetMenuCommand(kCompareWithItem, [target = QPointer<ui::ExtractionCommands>(commands)](QMainWindow& from) {
        if (target) target->compareWith(&from);
    });
    QObject::connect(&window, &MainWindow::mapLoaded, commands, [] { ui::SetMenuItemEnabled(kCompareWithItem, true); });

    auto* find = new ui::FindCommands([&window]() -> const MapState& { return window.state(); }, window);
    QObject::connect(&window, &MainWindow::mapLoaded, find, &ui::FindCommands::mapLoaded);
    QObject::connect(find, &ui::FindCommands::hitActivated, &window, &MainWindow::showSearchHit);
    ui::SetMenuCommand("ScriptToolsFindInMap", On(*find, &ui::FindCommands::showFind));

    ui::SetMenuCommand("HelpAbout", [](QMainWindow& from) { ui::ShowAboutQuorin(from); });
    ui::SetMenuCommand("HelpAboutQt", [](QMainWindow& from) { QMessageBox::aboutQt(&from); });
    ui::SetMenuCommand("HelpKeyboardShortcuts", [](QMainWindow& from) { ui::ShowKeyboardShortcuts(from); });
    return *commands;
}

int StartQuorin(const std::vector<std::string>& arguments, const char* namesFromEnvironment) {
    auto options = ParseStartOptions(arguments, namesFromEnvironment);
    if (!options) {
        std::cerr << "quorin: " << options.error().message << '\n' << StartUsage();
        return kUsageExit;
    }
    if (auto answer = StartAnswer(arguments)) {
        std::cout << *answer;
        return 0;
    }
    if (options->namesProblem) {
        // Started from a launcher there is no terminal to read stderr on.
        std::cerr << "quorin: " << *options->namesProblem << '\n';
        ui::ShowWarning(nullptr,
                        ui::MessageText(*options->namesProblem, QFile::decodeName(options->namesPath.c_str())));
        return kUsageExit;
    }

    MainWindow& window = MainWindow::instance();
    window.setStockMapNames(options->mapNames);
    window.setAlwaysReadOnly(options->readOnly);
    // On unless the user turned it off.
    window.setBackupBeforeFirstWrite(QSettings().value(QLatin1String(kBackUpSetting), true).toBool());
    WireCommands(window, [](bool backup) { QSettings().setValue(QLatin1String(kBackUpSetting), backup); });
    window.show();
    if (options->mapPath) {
        const QString path = QFile::decodeName(options->mapPath->c_str());
        QTimer::singleShot(0, &window, [&window, path] { window.openMap(path); });
    }
    const int code = QApplication::exec();
    delete &window;
    return code;
}

int RunQuorin(int argc, char** argv) {
    // --help and --version need no display; the toolkit would refuse to
    // start without one.
    if (auto answer = StartAnswer(std::vector<std::string>(argv + 1, argv + argc))) {
        std::cout << *answer;
        return 0;
    }
    // The "Map" file type (*.map) is registered with the desktop by the
    // installed quorin-map.xml and launcher; nothing to do at run time.
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorin"));
    QApplication::setOrganizationName(QStringLiteral("Quorin"));
    // Every window inherits the icon. Compositors that match windows to
    // launchers by desktop file name then find the installed launcher too.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/quorin.svg")));
    QApplication::setDesktopFileName(QStringLiteral(QUORIN_APP_ID));

    // The toolkit has taken its own options out of argv by now.
    return StartQuorin(std::vector<std::string>(argv + 1, argv + argc), std::getenv("QUORIN_MAP_NAMES"));
}

}  // namespace quorin::app
