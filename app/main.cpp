// The desktop program: the Qt backend, the application directory (the folder
// of the executable) and the main window, whose load starts everything else.
#include <QApplication>

#include "platform/io/files.h"
#include "platform/qt/qt_backend.h"
#include "platform/ui/application.h"
#include "shell/mainprog.h"

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    qtui::Backend backend;
    ui::app().setAppDir(io::appDirectory());
    ui::app().run(ui::form<Mainprog>());
    return 0;
}
