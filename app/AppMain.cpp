// AppMain.cpp: the one application object and the program's entry point.
#include "app/PackageApp.h"

// Constructed during static initialisation: claims the single-instance guard.
CPackageApp theApp;

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    return AfxWinMain(hInstance);
}
