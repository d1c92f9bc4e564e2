#include "app.h"

wxIMPLEMENT_APP_NO_MAIN(App);

int main(int argc, char** argv)
{
    PreferX11Backend();
    return wxEntry(argc, argv);
}
