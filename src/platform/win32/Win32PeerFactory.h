// Makes the Win32 peer of each kind of model.
#pragma once

#include <memory>

#include "platform/Controls.h"

namespace platform::win32 {

class TWin32PeerFactory final : public TPeerFactory {
 public:
  std::unique_ptr<TPeer> Create(TForm& form) override;
  std::unique_ptr<TPeer> Create(TPanel& panel) override;
  std::unique_ptr<TPeer> Create(TTabSheet& sheet) override;
  std::unique_ptr<TPeer> Create(TPageControl& pages) override;
  std::unique_ptr<TPeer> Create(TButton& button) override;
  std::unique_ptr<TPeer> Create(TCheckBox& box) override;
  std::unique_ptr<TPeer> Create(TComboBox& combo) override;
  std::unique_ptr<TPeer> Create(TEdit& edit) override;
  std::unique_ptr<TPeer> Create(TCheckListBox& list) override;
  std::unique_ptr<TPeer> Create(THotKey& hotKey) override;
  std::unique_ptr<TPeer> Create(TLabel& label) override;
  std::unique_ptr<TPeer> Create(TBevel& bevel) override;
  std::unique_ptr<TPeer> Create(TShape& shape) override;
  std::unique_ptr<TPeer> Create(TImage& image) override;
  std::unique_ptr<TPeer> Create(TStatusBar& bar) override;
  std::unique_ptr<TPeer> Create(TTimer& timer) override;
  std::unique_ptr<TMenuPeer> Create(TPopupMenu& menu) override;
};

}  // namespace platform::win32
