// ZortaPad: the editor program.
#include "editor/app/the_app.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    CTheApp app;
    if (!app.InitInstance({argv + 1, argv + argc})) return 0;
    const int result = QApplication::exec();
    app.ExitInstance();
    return result;
}
