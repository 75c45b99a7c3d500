#include "platform/win32/WindowBinding.h"

#include <unordered_map>
#include <utility>

#include "platform/Application.h"
#include "platform/Forms.h"
#include "platform/Guarded.h"
#include "platform/win32/ListeningWindow.h"

namespace platform::win32 {

namespace {

// What the table holds for a window. It lives while a message to its window is
// being answered, even when the window is unbound or destroyed meanwhile,
// so that every call on the stack finds it, and an owned target, intact.
struct TBinding {
  TWindowTarget* Target = nullptr;
  std::unique_ptr<TWindowTarget> Owned;
  int Calls = 0;
  bool Bound = true;
};

// The bindings by window. Every bound window is made, used and ended on
// the program's own thread, the only one that looks here. A table in the
// program answers each message without asking the system: a window
// property would cost a request to the window server per message.
std::unordered_map<HWND, TBinding*>& Bindings() {
  // Never destroyed: a window may still hear from the system while the
  // program's static objects go.
  static auto* const bindings = new std::unordered_map<HWND, TBinding*>;
  return *bindings;
}

TBinding* BindingOf(HWND window) {
  if (!window) return nullptr;
  const auto& bindings = Bindings();
  const auto found = bindings.find(window);
  return found == bindings.end() ? nullptr : found->second;
}

// Ends the window's entry; the binding itself goes with the last call on
// the stack that uses it.
void Release(HWND window, TBinding& binding) noexcept {
  Bindings().erase(window);
  binding.Bound = false;
}

void Bind(HWND window, TWindowTarget& target, std::unique_ptr<TWindowTarget> owned) {
  if (TBinding* binding = BindingOf(window); binding && binding->Target == &target) {
    if (owned) binding->Owned = std::move(owned);
    return;
  }
  UnbindWindow(window);
  if (!::IsWindow(window)) return;
  auto binding = std::make_unique<TBinding>();
  binding->Target = &target;
  binding->Owned = std::move(owned);
  Bindings()[window] = binding.release();
}

// The application window's procedure: the default one, except that its
// Close (the taskbar button's) closes the main window as the user would,
// and that it is the listening window (ListeningWindow.h). Left to the
// default procedure, Close would take the application window and the main
// window it owns away, and the program would run on with no window. ANSI,
// so that the single-instance guard can chain to it.
LRESULT CALLBACK AppWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    GuardedCallback([] {
      if (Application && Application->MainForm()) Application->MainForm()->Close();
    });
    return 0;
  }
  if (LRESULT answer = 0; HearListeners(window, message, wParam, lParam, answer)) return answer;
  return ::DefWindowProcA(window, message, wParam, lParam);
}

struct TClassInfo {
  const char* Name;
  UINT Style;
  int Background;  // a system colour, or -1 for none
  bool Arrow;      // the arrow cursor
  bool Plain;      // the application window's procedure and the program's icon
};

// In the order of TWindowClass.
constexpr TClassInfo kClasses[] = {
    {"MorvelApp", 0, -1, true, true},
    {"MorvelForm", CS_DBLCLKS, COLOR_BTNFACE, true, false},
    {"MorvelPanel", CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, COLOR_BTNFACE, true, false},
    {"MorvelGraphic", CS_HREDRAW | CS_VREDRAW, -1, true, false},
    {"MorvelUtility", 0, -1, false, false},
};

void RegisterClasses() {
  for (const TClassInfo& info : kClasses) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.style = info.Style;
    wc.lpfnWndProc = info.Plain ? AppWindowProc : BoundWindowProc;
    wc.hInstance = Instance();
    if (info.Arrow) wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    if (info.Background >= 0)
      wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(info.Background + 1));
    if (info.Plain) {
      // The taskbar button shows the program's icon, when the resources carry one.
      wc.hIcon = ::LoadIconA(wc.hInstance, MAKEINTRESOURCEA(kProgramIconId));
      if (!wc.hIcon) wc.hIcon = ::LoadIcon(nullptr, IDI_APPLICATION);
    }
    wc.lpszClassName = info.Name;
    ::RegisterClassExA(&wc);
  }
}

}  // namespace

HINSTANCE Instance() { return ::GetModuleHandleA(nullptr); }

const char* ClassName(TWindowClass windowClass) {
  static const bool registered = (RegisterClasses(), true);
  (void)registered;
  return kClasses[static_cast<int>(windowClass)].Name;
}

void BindWindow(HWND window, TWindowTarget& target) { Bind(window, target, nullptr); }

void BindWindow(HWND window, std::unique_ptr<TWindowTarget> target) {
  if (!target) return;
  TWindowTarget& object = *target;
  Bind(window, object, std::move(target));
}

void UnbindWindow(HWND window) noexcept {
  TBinding* binding = BindingOf(window);
  if (!binding) return;
  Release(window, *binding);
  if (binding->Calls == 0) delete binding;
}

TWindowTarget* BoundTarget(HWND window) {
  TBinding* binding = BindingOf(window);
  return binding ? binding->Target : nullptr;
}

LRESULT CALLBACK BoundWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE && !BindingOf(window)) {
    if (void* target = reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams)
      BindWindow(window, *static_cast<TWindowTarget*>(target));
  }
  TBinding* binding = BindingOf(window);
  if (!binding) return ::DefWindowProcA(window, message, wParam, lParam);

  ++binding->Calls;
  TWindowTarget& target = *binding->Target;
  LRESULT answer = 0;
  GuardedCallback([&] { answer = target.WindowMessage(window, message, wParam, lParam); });
  if (message == WM_NCDESTROY && binding->Bound) {
    // Also reached when a parent window takes this one down with it.
    Release(window, *binding);
    target.WindowGone(window);
  }
  if (--binding->Calls == 0 && !binding->Bound) delete binding;
  return answer;
}

}  // namespace platform::win32
