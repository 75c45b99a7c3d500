#include "app/CommandRun.h"

#include "app/Main.h"
#include "app/Settings.h"
#include "app/SingleInstance.h"
#include "drives/CdDrives.h"
#include "drives/RunDisc.h"
#include "i18n/Lang.h"
#include "i18n/LangSelect.h"
#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/Guarded.h"
#include "platform/Menus.h"
#include "platform/Services.h"

using platform::Application;
using platform::Services;

namespace app {

namespace {

// How long a start with a command waits for a running copy to answer.
constexpr unsigned kAnswerWaitMs = 10000;

bool IsCdRomDrive(char letter) {
  return letter &&
         Services().Drives->GetDriveType(std::string(1, letter) + ":\\") == platform::kDriveCdRom;
}

// The text in the language the program would start with: the stored one,
// English when that has no file.
std::string Translated(const std::string& text) {
  std::string language;
  ReadLanguageSetting(language);
  const std::string dir = Services().Drives->ProgramDir();
  std::string file = i18n::LangFileName(dir, language);
  if (!Services().Drives->FileExists(file)) file = i18n::LangFileName(dir, i18n::kFallbackLanguage);
  i18n::TLanguage sprog(nullptr);
  sprog.SetLanguageFile(file);
  return sprog.TranslateText(text);
}

void ShowUsage() {
  const std::string text = UsageText(Translated);
  if (!Services().Instance->WriteParentConsole(text))
    Services().Dialogs->MessageBox(0, text, "Morvel",
                                   platform::kMbOk | platform::kMbIconInformation);
}

bool AnotherCopyRuns() {
  platform::TInstanceChannel& channel = *Services().Instance;
  const platform::THandle mutex = channel.OpenMutex(platform::kMutexAllAccess, false, kInstanceId);
  if (mutex) channel.CloseHandle(mutex);
  return mutex != 0;
}

// Hands the command to the running copy; nothing when that copy has gone
// in the meantime.
std::optional<int> Forward(const TCommandLine& command) {
  const TSingleInstance guard(EncodeCommand(command));
  if (!guard.SecondCopy()) return std::nullopt;
  // The answer ends the loop (see TSingleInstance); a copy that never
  // answers leaves the command undone.
  platform::TTimer timeout(nullptr);
  timeout.SetInterval(kAnswerWaitMs);
  timeout.SetOnTimer([](platform::TObject*) { Application->Terminate(); });
  Services().AppHost->RunLoop([] { return Application->Terminated(); });
  return TSingleInstance::ForwardResult();
}

// No copy runs: the drive command on its own, with no window and no tray
// icon; the messages are those of the buttons.
int CarryOutAlone(const TCommandLine& command) {
  char letter = command.Drive;
  if (!letter) {
    // The drive a start would make current: the first of the list.
    platform::TStrings list;
    drives::ListCdDrives(list);
    if (list.Count() > 0 && !list[0].empty()) letter = list[0][0];
  }
  if (!IsCdRomDrive(letter)) return kExitFailed;
  int code = kExitFailed;
  platform::Guarded([&] {
    switch (command.Kind) {
      case TCommandKind::Open:
        drives::OpenCD(letter);
        break;
      case TCommandKind::Close:
        drives::CloseCD(letter);
        break;
      default:
        if (!drives::DiskInDrive(letter)) {
          platform::ShowMessage(Translated("No CD Present"));
          return;
        }
        if (command.Kind == TCommandKind::Explore) {
          drives::ExploreDrive(letter);
        } else if (const char* refusal = drives::RefusalText(drives::RunDisc(letter))) {
          platform::ShowMessage(Translated(refusal));
          return;
        }
    }
    code = kExitDone;
  });
  return code;
}

// The running copy makes the drive current as a press on its tray icon does.
bool SelectDrive(TForm1& main, char letter) {
  const platform::TStrings& items = main.ComboBox2->Items();
  for (int i = 0; i < items.Count(); ++i) {
    if (items[i].empty() || (items[i][0] & ~0x20) != letter) continue;
    main.ComboBox2->SetText(items[i]);
    main.ComboBox2Change(main.ComboBox2);
    return true;
  }
  return false;
}

int CarryOut(TForm1& main, const TCommandLine& command) {
  switch (command.Kind) {
    case TCommandKind::Show:
      // As the running copy comes forward for a second start.
      if (Services().Instance->IsIconic(Application->Handle())) {
        main.SetWindowState(platform::TWindowState::Normal);
        Application->Restore();
      }
      main.Restore1Click(&main);
      return kExitDone;
    case TCommandKind::Exit:
      // Without the exit question: the one who asks has decided.
      Application->Terminate();
      return kExitDone;
    default:
      break;
  }
  if (command.Drive && !SelectDrive(main, command.Drive)) return kExitFailed;
  const char letter = main.CurrentDriveLetter();
  if (!IsCdRomDrive(letter)) return kExitFailed;
  switch (command.Kind) {
    case TCommandKind::Open:
      main.BitBtn2Click(&main);
      return kExitDone;
    case TCommandKind::Close:
      main.BitBtn3Click(&main);
      return kExitDone;
    default: {
      // The handlers tell the user; the code tells the caller.
      const bool disc = drives::DiskInDrive(letter);
      if (command.Kind == TCommandKind::Run)
        main.BitBtn4Click(&main);
      else
        main.Explore1Click(&main);
      return disc ? kExitDone : kExitFailed;
    }
  }
}

}  // namespace

std::optional<int> RunCommandLine(const TCommandLine& command) {
  if (command.Kind == TCommandKind::Usage || command.Kind == TCommandKind::Wrong) {
    ShowUsage();
    return command.Kind == TCommandKind::Usage ? kExitDone : kExitWrong;
  }
  if (AnotherCopyRuns())
    if (const std::optional<int> code = Forward(command)) return code;
  if (command.Kind == TCommandKind::Show) return std::nullopt;
  if (command.Kind == TCommandKind::Exit) return kExitDone;
  return CarryOutAlone(command);
}

int SendCommand(platform::THandle mainWindow, const std::string& command) {
  platform::TInstanceChannel& channel = *Services().Instance;
  // The application window that owns the main window hears the instance
  // messages, and so the command.
  const platform::THandle owner = channel.Owner(mainWindow);
  platform::TLResult answer = kExitFailed;
  if (!mainWindow || !channel.SendCopyData(owner ? owner : mainWindow, Application->Handle(),
                                           kCommandTag, command, answer))
    return kExitFailed;
  TCommandLine sent;
  if (DecodeCommand(command, sent) && sent.Kind == TCommandKind::Show)
    channel.SetForegroundWindow(mainWindow);
  return answer >= kExitDone && answer <= kExitWrong ? static_cast<int>(answer) : kExitFailed;
}

int CarryOutForwarded(const std::string& command) {
  TCommandLine decoded;
  if (!DecodeCommand(command, decoded)) return kExitWrong;
  // Only once its start-up is over, as for a second start.
  auto* main = dynamic_cast<TForm1*>(Application->MainForm());
  if (!main || !Application->Running() || Application->Terminated()) return kExitFailed;
  int code = kExitFailed;
  platform::Guarded([&] { code = CarryOut(*main, decoded); });
  return code;
}

}  // namespace app
