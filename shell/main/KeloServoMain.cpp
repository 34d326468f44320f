// KeloServo: the main program. Numbers are read and written with a decimal point whatever the
// user's locale, the real message boxes and file dialogs are installed, and the application runs.
#include "framework/ui/App.h"
#include "shell/ui/KeloServoApp.h"

#include <clocale>

int main(int argc, char** argv) {
    std::setlocale(LC_NUMERIC, "C");
    CKeloServoApp app;
    return AfxWinMain(argc, argv, &app);
}
