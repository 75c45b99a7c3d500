// Peers of the standard controls: buttons, check boxes, edits, combo boxes,
// labels, bevels and the status bar.
#pragma once

#include <vector>

#include "platform/win32/Win32Peer.h"

namespace platform::win32 {

class TWin32ButtonPeer final : public TWin32Peer {
 public:
  explicit TWin32ButtonPeer(TButton& button);
  bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  TButton& FButton;
};

class TWin32CheckBoxPeer final : public TWin32Peer {
 public:
  explicit TWin32CheckBoxPeer(TCheckBox& box);
  void Changed(TChange what) override;
  bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 protected:
  LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  TCheckBox& FBox;
};

class TWin32ComboBoxPeer final : public TWin32Peer {
 public:
  explicit TWin32ComboBoxPeer(TComboBox& combo);
  void Changed(TChange what) override;
  bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 protected:
  void ApplyBounds() override;
  std::vector<HWND> ToolWindows() const override;

 private:
  void FillItems();
  void ShowText();

  TComboBox& FCombo;
};

class TWin32EditPeer final : public TWin32Peer {
 public:
  explicit TWin32EditPeer(TEdit& edit);
  void Changed(TChange what) override;
  bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  TEdit& FEdit;
};

// A label: static text that measures itself for the model's AutoSize.
class TWin32LabelPeer final : public TWin32Peer {
 public:
  explicit TWin32LabelPeer(TLabel& label);
  ~TWin32LabelPeer() override;
  void Changed(TChange what) override;
  bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 protected:
  LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // Measures the caption and tells the model, then follows its bounds.
  void Measure();
  // The label's own font, made from the form's, when its font asks for one.
  void MakeFont(HFONT formFont);
  TLabel& FLabel;
  TGdiObject FOwnFont;
};

// A bevel: a plain static frame.
class TWin32StaticPeer final : public TWin32Peer {
 public:
  TWin32StaticPeer(TControl& control, DWORD style, bool caption);

 protected:
  LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
};

class TWin32StatusBarPeer final : public TWin32Peer {
 public:
  explicit TWin32StatusBarPeer(TStatusBar& bar);
  void Changed(TChange what) override;

 protected:
  void ApplyBounds() override;

 private:
  TStatusBar& FBar;
};

}  // namespace platform::win32
