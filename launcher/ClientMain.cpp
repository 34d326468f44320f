// Client: the launcher program.
#include "launcher/ClientApp.h"

CClientApp theApp;

int main(int argc, char** argv) {
    return AfxWinMain(argc, argv, &theApp);
}
