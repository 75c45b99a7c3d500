#include "platform/win32/Win32Download.h"

#include <urlmon.h>

#include <memory>
#include <vector>

namespace platform::win32 {

namespace {

// The caller object is never passed.
using TUrlDownloadToFileA = HRESULT(WINAPI*)(IUnknown* caller, LPCSTR url, LPCSTR file,
                                             DWORD reserved, IBindStatusCallback* callback);

constexpr long kNotAvailable = static_cast<long>(0x80004001);  // E_NOTIMPL

// Spelled out here, so that no import library has to supply them.
constexpr IID kIidUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID kIidBindStatusCallback = {
    0x79EAC9C1, 0xBAF9, 0x11CE, {0x8C, 0x82, 0x00, 0xAA, 0x00, 0x4B, 0xA9, 0x0B}};

TDownloadStep StepOf(ULONG status) {
  if (status == BINDSTATUS_SENDINGREQUEST) return TDownloadStep::Request;
  if (status == BINDSTATUS_REDIRECTING) return TDownloadStep::Redirect;
  return TDownloadStep::Other;
}

// The progress callback of one download. It asks the watch at every step,
// and hands it the binding's abort while the binding runs: a server that
// holds the connection without a word brings no steps to answer. Its
// references are counted, as the system may keep one for a moment after
// the download has returned.
class TBindCallback final : public IBindStatusCallback {
 public:
  explicit TBindCallback(TDownloadWatch& watch) : FWatch(&watch) {}

  // The download has returned: the watch is neither asked nor held again.
  void Detach() {
    FWatch->SetAbort({});
    FWatch = nullptr;
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (iid != kIidUnknown && iid != kIidBindStatusCallback) return E_NOINTERFACE;
    *object = static_cast<IBindStatusCallback*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ::InterlockedIncrement(&FReferences); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = ::InterlockedDecrement(&FReferences);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  HRESULT STDMETHODCALLTYPE OnStartBinding(DWORD, IBinding* binding) override {
    if (FWatch && binding) {
      binding->AddRef();
      const std::shared_ptr<IBinding> held(binding, [](IBinding* b) { b->Release(); });
      FWatch->SetAbort([held] { held->Abort(); });
    }
    return Answer(TDownloadStep::Other, 0, 0);
  }
  HRESULT STDMETHODCALLTYPE GetPriority(LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnLowResource(DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnProgress(ULONG progress, ULONG progressMax, ULONG status,
                                       LPCWSTR) override {
    return Answer(StepOf(status), progress, progressMax);
  }
  HRESULT STDMETHODCALLTYPE OnStopBinding(HRESULT, LPCWSTR) override {
    if (FWatch) FWatch->SetAbort({});
    return S_OK;
  }
  // No wishes of its own: the download binds as it would without a callback.
  HRESULT STDMETHODCALLTYPE GetBindInfo(DWORD*, BINDINFO*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnObjectAvailable(REFIID, IUnknown*) override { return S_OK; }

 private:
  ~TBindCallback() = default;

  HRESULT Answer(TDownloadStep step, ULONG bytes, ULONG total) {
    return FWatch && FWatch->Continue(step, bytes, total) ? S_OK : E_ABORT;
  }

  TDownloadWatch* FWatch;
  LONG FReferences = 1;
};

struct TReleaseCallback {
  void operator()(TBindCallback* callback) const { callback->Release(); }
};

}  // namespace

long TWin32Download::DownloadToFile(const std::string& url, const std::string& file,
                                    TDownloadWatch& watch) {
  if (!FUrlmon) FUrlmon.reset(::LoadLibraryA("urlmon.dll"));
  if (!FUrlmon) return kNotAvailable;
  auto download = reinterpret_cast<TUrlDownloadToFileA>(
      reinterpret_cast<void*>(::GetProcAddress(FUrlmon.get(), "URLDownloadToFileA")));
  if (!download) return kNotAvailable;
  const std::unique_ptr<TBindCallback, TReleaseCallback> callback(new TBindCallback(watch));
  const HRESULT result = download(nullptr, url.c_str(), file.c_str(), 0, callback.get());
  callback->Detach();
  return static_cast<long>(result);
}

void TWin32Download::RemoveFile(const std::string& file) { ::DeleteFileA(file.c_str()); }

std::string TWin32Download::TempFolder() {
  std::vector<char> buffer(MAX_PATH + 1);
  for (;;) {
    const DWORD length = ::GetTempPathA(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length == 0) return {};
    if (length < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(length + 1);  // the size it needs, with the terminator
  }
}

}  // namespace platform::win32
