#include "app/CKorvanePCPlayerApp.h"

int main(int argc, char** argv)
{
    CKorvanePCPlayerApp app(argc, argv);
    return app.InitInstance();
}
