// The program's entry: the application object starts, runs and ends the viewer.
#include "app/TavimoApp.h"

int main(int argc, char** argv) {
    CTavimoApp app(argc, argv);
    if (!app.InitInstance())
        return 1;
    return app.Run();
}
