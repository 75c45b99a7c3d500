// The entry point: the real services, the application object with its
// window, the single-instance guard, the main window and the message loop.
#include <windows.h>

#include "about/OmU.h"
#include "app/Main.h"
#include "app/MultInst.h"
#include "platform/Application.h"
#include "platform/win32/Win32Services.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  platform::win32::TWin32Services services;
  platform::TApplication application;
  {
    // Set up last, once the application window exists; torn down first.
    app::TSingleInstance singleInstance;
    application.Initialize();
    application.SetTitle("Morvel");
    // Whether the main window shows is the main window's own decision.
    application.ShowMainForm = false;
    app::TForm1* main = application.CreateForm<app::TForm1>("Form1");
    about::TAboutBox* aboutBox = application.CreateForm<about::TAboutBox>("AboutBox");
    // "Reset default" puts back the policies the main window's pages show.
    aboutBox->OnResetDefaults = [main] { main->ResetPolicyDefaults(); };
    application.Run();
  }
  return 0;
}
