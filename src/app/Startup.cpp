#include "app/Startup.h"

#include <QApplication>
#include <QFile>
#include <QTimer>
#include <cstdlib>
#include <iostream>

#include "app/StartOptions.h"
#include "ui/extract/ExtractionCommands.h"
#include "ui/main/MainWindow.h"

namespace quorin::app {

void InstallRoutes(MainWindow& window) { quorin::ui::InstallExtractionCommands(window); }

int RunQuorin(int argc, char** argv) {
    // The "Map" file type (*.map) is registered with the desktop by the
    // installed quorin-map.xml and quorin.desktop; nothing to do at run time.
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorin"));

    // The toolkit has taken its own options out of argv by now.
    std::vector<std::string> arguments(argv + 1, argv + argc);
    auto options = ParseStartOptions(arguments, std::getenv("QUORIN_MAP_NAMES"));
    if (!options) {
        std::cerr << "quorin: " << options.error().message << '\n' << StartUsage();
        return kUsageExit;
    }
    if (options->help) {
        std::cout << StartUsage();
        return 0;
    }

    MainWindow& window = MainWindow::instance();
    window.setStockMapNames(options->mapNames);
    InstallRoutes(window);
    window.show();
    if (options->mapPath) {
        const QString path = QFile::decodeName(options->mapPath->c_str());
        QTimer::singleShot(0, &window, [&window, path] { window.openMap(path); });
    }
    const int code = QApplication::exec();
    delete &window;
    return code;
}

}  // namespace quorin::app
