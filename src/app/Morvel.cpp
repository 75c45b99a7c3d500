// The entry point: the real services, the application object with its
// window, the single-instance guard, the main window and the message loop.
#include <windows.h>

#include <optional>

#include "about/AboutBox.h"
#include "app/CommandRun.h"
#include "app/Main.h"
#include "app/Settings.h"
#include "app/SingleInstance.h"
#include "platform/Application.h"
#include "platform/StartupTrace.h"
#include "platform/win32/Win32Paths.h"
#include "platform/win32/Win32Services.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int) {
  if (platform::win32::ProgramFile().empty()) {
    // Every file the program reads lies beside it. Without a path its ANSI
    // calls can use it would run without icons, texts or help, and would
    // store a wrong path for the start at log-on. No language file can be
    // read either, so this is said in English.
    ::MessageBoxA(nullptr,
                  "Morvel cannot run from this folder: its name has characters that the "
                  "system's code page cannot show, and it has no short (8.3) name. Please "
                  "move Morvel to a folder whose name has none of these characters.",
                  "Morvel", MB_OK | MB_ICONSTOP);
    return 1;
  }
  STARTUP_MARK("WinMain");
  platform::win32::TWin32Services services;
  platform::TApplication application;
  // A start with arguments does its command and ends, "/show" with no copy
  // running excepted; one without goes on as ever.
  const app::TCommandLine command = app::ParseCommandLine(arguments ? arguments : "");
  if (command.Kind != app::TCommandKind::None)
    if (const std::optional<int> code = app::RunCommandLine(command)) return *code;
  {
    // Set up last, once the application window exists; torn down first.
    app::TSingleInstance singleInstance;
    STARTUP_MARK("services");
    application.Initialize();
    STARTUP_MARK("application window");
    application.SetTitle("Morvel");
    // Whether the main window shows is the main window's own decision.
    application.ShowMainForm = false;
    app::TForm1* main = application.CreateForm<app::TForm1>("Form1");
    STARTUP_MARK("main window created");
    // The about box speaks the main window's language.
    about::TAboutBox* aboutBox = application.CreateForm<about::TAboutBox>(
        "AboutBox", main->Sprog, app::ReadUpdateURLSetting());
    // "Reset default" puts back the policies the main window's pages show.
    aboutBox->OnResetDefaults = [main] { main->ResetPolicyDefaults(); };
    STARTUP_MARK("about box");
    application.Run();
  }
  return 0;
}
