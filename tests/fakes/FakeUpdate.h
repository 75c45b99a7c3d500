// The download and program-information services in memory, for the update
// check and the about box.
#pragma once

#include <chrono>
#include <map>
#include <string>
#include <vector>

#include "fakes/Fakes.h"
#include "platform/Download.h"
#include "platform/ProgramInfo.h"

namespace fakes {

// A download stores Body in the drive fake under the file's name, as the
// real one writes the file, unless Result tells of a failure. With Hold it
// first waits up to a second for the watch to stop it.
class TFakeDownload : public platform::TDownloadService {
 public:
  explicit TFakeDownload(TFakeDrives& drives) : FDrives(drives) {}
  long Result = platform::kSOk;
  std::string Body;
  bool Hold = false;
  int Stops = 0;  // holds the watch ended
  std::string Temp = "C:\\Users\\Ann\\Temp\\";
  std::vector<std::string> Calls;  // "url -> file"

  long DownloadToFile(const std::string& url, const std::string& file,
                      platform::TDownloadWatch& watch) override {
    Calls.push_back(url + " -> " + file);
    for (int ms = 0; Hold && ms < 1000 && !watch.Stopped(); ++ms)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (Hold && watch.Stopped()) ++Stops;
    if (Result == platform::kSOk) FDrives.Files[file] = Body;
    return Result;
  }
  void RemoveFile(const std::string& file) override { FDrives.Files.erase(file); }
  std::string TempFolder() override { return Temp; }

 private:
  TFakeDrives& FDrives;
};

// Version strings by their full query text; the block itself is opaque.
class TFakeProgramInfo : public platform::TProgramInfo {
 public:
  bool HasVersionInfo = true;
  std::uint16_t Language = 0x0406, CodePage = 1252;
  std::map<std::string, std::string> Strings{{"StringFileInfo\\040604E4\\FileVersion", "2.3.0.0"}};
  std::map<std::string, std::string> Resources;

  bool LoadVersionInfo(std::string& block) override {
    block = HasVersionInfo ? "block" : "";
    return HasVersionInfo;
  }
  bool QueryTranslation(std::string&, std::uint16_t& language, std::uint16_t& codePage) override {
    language = Language;
    codePage = CodePage;
    return true;
  }
  bool QueryString(std::string&, const std::string& subBlock, std::string& value) override {
    auto it = Strings.find(subBlock);
    if (it == Strings.end()) return false;
    value = it->second;
    return true;
  }
  std::string ResourceData(const std::string& name) override {
    auto it = Resources.find(name);
    return it == Resources.end() ? std::string() : it->second;
  }
};

// Every fake with these two added.
struct TFakeAboutSystem : TFakeSystem {
  TFakeDownload Download{Drives};
  TFakeProgramInfo ProgramInfo;
  platform::TScopedServices AboutScope{[this] {
    platform::TServices services = platform::Services();
    services.Download = &Download;
    services.ProgramInfo = &ProgramInfo;
    return services;
  }()};
};

}  // namespace fakes
