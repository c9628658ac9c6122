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
#include "ui/textedit/TextEditCommands.h"

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

constexpr const char* kBackUpSetting = "writes/backupBeforeFirstWrite";

}  // namespace

ui::ExtractionCommands& WireCommands(MainWindow& window, std::function<void(bool)> backupChanged) {
    using ui::MenuCommand;
    // The router and the seam outlive the window; the handlers hold them
    // by reference.
    const ui::WindowContext context = window.context();
    ui::MenuRouter& menus = context.menus;
    const ui::MapSource map = [&window]() -> const MapState& { return window.state(); };
    auto* commands = new ui::ExtractionCommands(context, map, &window);
    commands->setStockNames([&window]() -> const std::vector<std::string>& { return window.session().stockNames(); });
    QObject::connect(&window, &MainWindow::mapLoaded, commands, &ui::ExtractionCommands::mapLoaded);

    menus.setCommand(MenuCommand::Open, On(window, &MainWindow::Fileopen_Action));
    menus.setCommand(MenuCommand::OpenReadOnly, On(window, &MainWindow::FileOpenReadOnly_Action));
    menus.setCommand(MenuCommand::ProtectMap, On(window, &MainWindow::ScriptToolsProtectMap_Action));
    menus.setCommand(MenuCommand::UndoWrite, On(window, &MainWindow::ScriptToolsUndoWrite_Action));
    menus.setCommand(MenuCommand::RedoWrite, On(window, &MainWindow::ScriptToolsRedoWrite_Action));
    menus.setFiller(MenuCommand::OpenRecent, [target = QPointer<MainWindow>(&window)](QMenu& menu, QMainWindow&) {
        if (target) target->FileOpenRecent_Fill(menu);
    });
    // Only a result window has a text to save; the item is disabled elsewhere.
    menus.setCommand(MenuCommand::SaveAs, [](QMainWindow& from) {
        if (auto* result = qobject_cast<ui::ResultWindow*>(&from)) result->saveAs();
    });
    menus.setCommand(MenuCommand::FindInText,
                     [&dialogs = context.dialogs](QMainWindow& from) { ui::FindInText::Show(from, dialogs); });
    menus.setCommand(MenuCommand::FindNext, [&dialogs = context.dialogs](QMainWindow& from) {
        ui::FindInText::Again(from, ui::FindInText::Direction::Next, dialogs);
    });
    menus.setCommand(MenuCommand::FindPrevious, [&dialogs = context.dialogs](QMainWindow& from) {
        ui::FindInText::Again(from, ui::FindInText::Direction::Previous, dialogs);
    });
    menus.setChecked(MenuCommand::BackUpBeforeFirstWrite, window.backupBeforeFirstWrite());
    menus.setCommand(MenuCommand::BackUpBeforeFirstWrite,
                     [&menus = context.menus, target = QPointer<MainWindow>(&window), backupChanged](QMainWindow&) {
                         const bool backup = menus.isChecked(MenuCommand::BackUpBeforeFirstWrite);
                         if (target) target->setBackupBeforeFirstWrite(backup);
                         if (backupChanged) backupChanged(backup);
                     });
    menus.setCommand(MenuCommand::ExtractAll, On(*commands, &ui::ExtractionCommands::extractAll));
    menus.setCommand(MenuCommand::ExtractGlobalRange, On(*commands, &ui::ExtractionCommands::showGlobalRange));
    menus.setCommand(MenuCommand::ExtractScriptRange, On(*commands, &ui::ExtractionCommands::showScriptRange));
    menus.setCommand(MenuCommand::Database, On(*commands, &ui::ExtractionCommands::database));
    menus.setCommand(MenuCommand::CompareWith,
                     [target = QPointer<ui::ExtractionCommands>(commands)](QMainWindow& from) {
                         if (target) target->compareWith(&from);
                     });
    QObject::connect(&window, &MainWindow::mapLoaded, commands,
                     [&menus = context.menus] { menus.setEnabled(MenuCommand::CompareWith, true); });

    auto* find = new ui::FindCommands(context, map, window);
    QObject::connect(&window, &MainWindow::mapLoaded, find, &ui::FindCommands::mapLoaded);
    QObject::connect(find, &ui::FindCommands::hitActivated, &window, &MainWindow::showSearchHit);
    menus.setCommand(MenuCommand::FindInMap, On(*find, &ui::FindCommands::showFind));

    auto* texts = new ui::TextEditCommands(context, map,
                                           [&window](const TextPlan& plan) { return window.applyTextPlan(plan); },
                                           window);
    QObject::connect(&window, &MainWindow::mapLoaded, texts, &ui::TextEditCommands::mapLoaded);
    QObject::connect(&window, &MainWindow::recordsChanged, texts, &ui::TextEditCommands::recordsChanged);
    menus.setCommand(MenuCommand::EditAsText, [target = QPointer<MainWindow>(&window), texts](QMainWindow&) {
        if (!target) return;
        if (const auto record = target->shownTextRecord()) texts->open(*record);
    });
    menus.setCommand(MenuCommand::About, [](QMainWindow& from) { ui::ShowAboutQuorin(from); });
    menus.setCommand(MenuCommand::AboutQt, [](QMainWindow& from) { QMessageBox::aboutQt(&from); });
    menus.setCommand(MenuCommand::KeyboardShortcuts, [](QMainWindow& from) { ui::ShowKeyboardShortcuts(from); });
    return *commands;
}

int StartQuorin(const std::vector<std::string>& arguments, const char* namesFromEnvironment,
                ui::DialogSeam& dialogs) {
    auto options = ParseStartOptions(arguments, namesFromEnvironment);
    if (!options) {
        std::cerr << "quorin: " << MessageOf(options.error()) << '\n' << StartUsage();
        return kUsageExit;
    }
    if (auto answer = StartAnswer(arguments)) {
        std::cout << *answer;
        return 0;
    }
    if (options->namesProblem) {
        // Started from a launcher there is no terminal to read stderr on.
        std::cerr << "quorin: " << MessageOf(*options->namesProblem) << '\n';
        dialogs.showWarning(nullptr, ui::MessageText(*options->namesProblem));
        return kUsageExit;
    }

    // Made in this order and gone in the reverse one: the main window (with
    // the commands and windows it owns) before the router its bars use.
    ui::MenuRouter menus;
    MainWindow window({menus, dialogs});
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
    return QApplication::exec();
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

    // The real boxes and file dialogs, for every window of the run.
    ui::ModalDialogs dialogs;
    // The toolkit has taken its own options out of argv by now.
    return StartQuorin(std::vector<std::string>(argv + 1, argv + argc), std::getenv("QUORIN_MAP_NAMES"), dialogs);
}

}  // namespace quorin::app
