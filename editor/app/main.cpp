// ZortaPad: the editor program.
#include "editor/app/main_frame.h"
#include "editor/app/the_app.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    CTheApp app;
    if (!app.InitInstance({argv + 1, argv + argc})) return 0;
    // A close that came while starting happened before the event loop, which would then wait forever.
    const int result = app.mainFrame()->wasClosed() ? 0 : QApplication::exec();
    app.ExitInstance();
    return result;
}
