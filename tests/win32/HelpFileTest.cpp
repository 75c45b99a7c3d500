// The compiled help file, read back with the system's own reader of help
// files (itss.dll): its table of contents lists exactly the pages of
// resources/help, and each of them is in the file.
#include <windows.h>
#include <gtest/gtest.h>
#include <objbase.h>

#include <regex>
#include <set>
#include <string>

// The help file storage interface of itss.dll; no header declares it. Outside
// the unnamed namespace: there the compiler would know that nothing derives
// from it and call its pure functions directly.
struct IITStorage : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE StgCreateDocfile(const WCHAR*, DWORD, DWORD, IStorage**) = 0;
  virtual HRESULT STDMETHODCALLTYPE StgCreateDocfileOnILockBytes(ILockBytes*, DWORD, DWORD,
                                                                 IStorage**) = 0;
  virtual HRESULT STDMETHODCALLTYPE StgIsStorageFile(const WCHAR*) = 0;
  virtual HRESULT STDMETHODCALLTYPE StgIsStorageILockBytes(ILockBytes*) = 0;
  virtual HRESULT STDMETHODCALLTYPE StgOpenStorage(const WCHAR*, IStorage*, DWORD, SNB, DWORD,
                                                   IStorage**) = 0;
};

namespace {

const CLSID KClsidItStorage = {
    0x5d02926a, 0x212e, 0x11d0, {0x9d, 0xf9, 0x00, 0xa0, 0xc9, 0x22, 0xe6, 0xec}};
const IID KIidItStorage = {
    0x88cc31de, 0x27ab, 0x11d0, {0x9d, 0xf9, 0x00, 0xa0, 0xc9, 0x22, 0xe6, 0xec}};

std::wstring Wide(const std::string& text) {
  std::wstring wide(text.size() + 1, L'\0');
  const int n =
      MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
  wide.resize(n > 0 ? static_cast<std::size_t>(n - 1) : 0);
  return wide;
}

// A stream of the help file as text; "" when it is not there.
std::string ReadStream(IStorage* storage, const std::string& name) {
  IStream* stream = nullptr;
  if (FAILED(storage->OpenStream(Wide(name).c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0,
                                 &stream)))
    return {};
  std::string text;
  char chunk[4096];
  ULONG read = 0;
  while (SUCCEEDED(stream->Read(chunk, sizeof chunk, &read)) && read > 0) text.append(chunk, read);
  stream->Release();
  return text;
}

TEST(HelpFile, TheContentsListEveryPageAndThePagesAreInTheFile) {
  std::set<std::string> pages;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(MORVEL_HELP_DIR "*.html", &found);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  do pages.insert(found.cFileName);
  while (FindNextFileA(search, &found));
  FindClose(search);

  ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  IITStorage* reader = nullptr;
  ASSERT_EQ(CoCreateInstance(KClsidItStorage, nullptr, CLSCTX_INPROC_SERVER, KIidItStorage,
                             reinterpret_cast<void**>(&reader)),
            S_OK);
  IStorage* help = nullptr;
  EXPECT_EQ(reader->StgOpenStorage(Wide(MORVEL_HELP_FILE).c_str(), nullptr,
                                   STGM_READ | STGM_SHARE_DENY_WRITE, nullptr, 0, &help),
            S_OK);
  if (help) {
    const std::string contents = ReadStream(help, "toc.hhc");
    std::set<std::string> listed;
    const std::regex local("<param name=\"Local\" value=\"([^\"]+)\">", std::regex::icase);
    for (std::sregex_iterator it(contents.begin(), contents.end(), local), end; it != end; ++it)
      listed.insert((*it)[1]);
    EXPECT_EQ(listed, pages);
    for (const std::string& page : pages)
      EXPECT_NE(ReadStream(help, "/" + page).find("</html>"), std::string::npos) << page;
    help->Release();
  }
  reader->Release();
  CoUninitialize();
}

}  // namespace
