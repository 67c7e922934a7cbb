// The program's entry: --help and --version are answered without a display; otherwise the
// application object starts, runs and ends the viewer.
#include "app/CommandLine.h"
#include "app/TavimoApp.h"

int main(int argc, char** argv) {
    if (const std::optional<int> exitCode = AnswerInformationRequest(argc, argv))
        return *exitCode;
    CTavimoApp app(argc, argv);
    if (!app.InitInstance())
        return 1;
    return app.Run();
}
