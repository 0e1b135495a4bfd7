// AppMain.cpp: the one application object and the program's entry point.
#include "app/PackageApp.h"
#include "framework/SystemLibrary.h"

// Constructed during static initialisation: claims the single-instance guard.
CPackageApp theApp;

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    // The program may be run from a download folder: no DLL is looked for beside it.
    RestrictDllSearchToSystemFolder();
    return AfxWinMain(hInstance);
}
