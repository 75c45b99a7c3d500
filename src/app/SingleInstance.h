// Single instance. The first copy holds a named mutex; a later copy
// broadcasts a query, the running copy answers with its main window, and the
// later copy brings that window forward and ends. A running copy that shows
// nothing at all shows its main window first.
//
// The guard is set up once the application window exists and torn down
// before anything else at program end; TSingleInstance does both.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Types.h"

namespace app {

inline constexpr const char* kInstanceId = "DDG.Tandrel_er_bare_god";

// The steps of the instance message, carried in wParam.
inline constexpr platform::TWParam kQuery = 1;
inline constexpr platform::TWParam kAnswer = 2;
// The query of a start with a command: answered, but the running copy does
// not come forward for it; the command decides what shows.
inline constexpr platform::TWParam kCommandQuery = 4;

class TSingleInstance {
 public:
  TSingleInstance();
  // A start with a command (EncodeCommand) sends it to the window the
  // answer names rather than bring that window forward; the running copy's
  // reply is then ForwardResult.
  explicit TSingleInstance(std::string command);
  ~TSingleInstance();
  TSingleInstance(const TSingleInstance&) = delete;
  TSingleInstance& operator=(const TSingleInstance&) = delete;

  // What the set-up found, for tests and the entry point.
  bool SecondCopy() const { return FSecondCopy; }
  static std::uint32_t InstanceMessage();
  static int ForwardResult();

  // The replacement procedure of the application window.
  static platform::TLResult NewWndProc(platform::THandle window, std::uint32_t message,
                                       platform::TWParam wParam, platform::TLParam lParam);

 private:
  bool FSecondCopy = false;
};

}  // namespace app
