#include "fakes/Fakes.h"

namespace fakes {

using platform::THandle;

void TFakeDrives::AddDrive(char letter, unsigned type) {
  Mask |= 1u << (letter - 'A');
  Types[std::string{letter, ':'}] = type;
}

void TFakeDrives::AddCdRom(char letter, bool withDisc) {
  AddDrive(letter, platform::kDriveCdRom);
  if (withDisc) Volumes[std::string{letter, ':', '\\'}] = 650u * 1024 * 1024;
}

std::uint32_t TFakeDrives::GetLogicalDrives() {
  Calls.push_back("GetLogicalDrives");
  return Mask;
}

unsigned TFakeDrives::GetDriveType(const std::string& name) {
  Calls.push_back("GetDriveType " + name);
  auto it = Types.find(name);
  return it == Types.end() ? 1u /* DRIVE_NO_ROOT_DIR */ : it->second;
}

bool TFakeDrives::GetVolumeSize(const std::string& root, std::uint64_t& totalBytes) {
  Calls.push_back("GetVolumeSize " + root);
  ErrorModesDuringVolumeQuery.push_back(ErrorMode);
  if (ThrowOnVolumeQuery) throw platform::EInOutError("device not ready");
  auto it = Volumes.find(root);
  if (it == Volumes.end()) return false;
  totalBytes = it->second;
  return true;
}

platform::TFileRead TFakeDrives::ReadFile(const std::string& path, std::string& contents) {
  auto it = Files.find(path);
  if (it == Files.end()) return platform::TFileRead::Unreadable;
  if (it->second.size() > platform::kReadFileMax) return platform::TFileRead::TooLarge;
  contents = it->second;
  return platform::TFileRead::Done;
}

unsigned TFakeDrives::SetErrorMode(unsigned mode) {
  Calls.push_back("SetErrorMode " + std::to_string(mode));
  const unsigned previous = ErrorMode;
  ErrorMode = mode;
  return previous;
}

std::uint32_t TFakeMedia::SendCommand(std::uint32_t device, std::uint32_t message,
                                      std::uint32_t flags, platform::TMciOpenParms* parms) {
  Calls.push_back({device, message, flags, parms != nullptr, parms ? parms->DeviceType : "",
                   parms ? parms->ElementName : ""});
  if (message == platform::kMciOpen) {
    if (OpenResult == 0 && parms) parms->DeviceId = DeviceToGive;
    return OpenResult;
  }
  if (message == platform::kMciSet) {
    if (ThrowOnDoor) throw platform::Exception("door jammed");
    return DoorResult;
  }
  return 0;
}

std::uint32_t TFakeInstance::RegisterMessage(const std::string& name) {
  Calls.push_back("RegisterMessage " + name);
  return MessageId;
}

std::uintptr_t TFakeInstance::ReplaceWindowProc(platform::THandle window,
                                                platform::TWndProcHook hook) {
  Calls.push_back("ReplaceWindowProc");
  if (ReplaceFails) return 0;
  Hook = hook;
  return PreviousProc;
}

void TFakeInstance::RestoreWindowProc(platform::THandle, std::uintptr_t previous) {
  Calls.push_back("RestoreWindowProc " + std::to_string(previous));
  Hook = nullptr;
}

platform::TLResult TFakeInstance::CallWindowProc(std::uintptr_t previous, platform::THandle window,
                                                 std::uint32_t message, platform::TWParam wParam,
                                                 platform::TLParam lParam) {
  PassedOn.push_back({window, message, wParam, lParam});
  return 42;
}

platform::THandle TFakeInstance::OpenMutex(std::uint32_t access, bool inherit,
                                           const std::string& name) {
  Calls.push_back("OpenMutex " + std::to_string(access) + " " + (inherit ? "1" : "0") + " " + name);
  if (!MutexExists) return 0;
  OpenHandles.push_back(++FNextHandle);
  return FNextHandle;
}

platform::THandle TFakeInstance::CreateMutex(const std::string& name) {
  Calls.push_back("CreateMutex " + name);
  OpenHandles.push_back(++FNextHandle);
  return FNextHandle;
}

void TFakeInstance::CloseHandle(platform::THandle handle) {
  Calls.push_back("CloseHandle");
  std::erase(OpenHandles, handle);
}

void TFakeInstance::Broadcast(std::uint32_t flags, std::uint32_t recipients, std::uint32_t message,
                              platform::TWParam wParam, platform::TLParam lParam) {
  Calls.push_back("Broadcast " + std::to_string(flags) + " " + std::to_string(recipients));
  Broadcasts.push_back({0, message, wParam, lParam});
}

void TFakeInstance::PostMessage(platform::THandle window, std::uint32_t message,
                                platform::TWParam wParam, platform::TLParam lParam) {
  Posts.push_back({window, message, wParam, lParam});
}

int TFakeDialogs::MessageBox(THandle owner, const std::string& text, const std::string& caption,
                             unsigned flags) {
  Asked.push_back({text, caption, flags, {}, owner});
  if (WhileOpen) WhileOpen();
  if (Answers.empty()) return platform::kIdOk;
  const int answer = Answers.front();
  Answers.pop_front();
  return answer;
}

int TFakeDialogs::MessageDlg(THandle owner, const std::string& text, const std::string& title,
                             unsigned icon, const std::vector<platform::TDialogButton>& buttons) {
  TAsked asked{text, title, icon, {}, owner};
  for (const platform::TDialogButton& button : buttons) asked.Buttons.push_back(button.Caption);
  Asked.push_back(std::move(asked));
  if (WhileOpen) WhileOpen();
  if (Answers.empty()) return buttons.empty() ? platform::kIdCancel : buttons.back().Result;
  const int answer = Answers.front();
  Answers.pop_front();
  return answer;
}

}  // namespace fakes
