// Controls that only show something: a label, a bevel, a hatched frame, a
// picture. A label and a picture also take a click.
#pragma once

#include <memory>
#include <string>

#include "platform/ControlBase.h"

namespace platform {

class TLabel : public TControl {
 public:
  using TControl::TControl;
  bool Centered = false;
  // The label fits its caption on one line, its left edge staying where it
  // is, so that a longer translation is neither cut nor wrapped.
  bool AutoSize = true;
  // The peer tells the size of the caption on one line in the label's font
  // whenever the caption or the font changes.
  void TextMeasured(int width, int height);

  const TFont& Font() const { return FFont; }
  void SetFont(const TFont& font);
  // The controls below show through around the text.
  bool Transparent = false;

  // Input: the left mouse button went down on the label.
  virtual void UserMouseDown() { DoEvent(OnMouseDown, this); }
  TNotifyEvent OnMouseDown;

 protected:
  std::unique_ptr<TPeer> CreatePeer(TPeerFactory& factory) override;

 private:
  TFont FFont;
};

enum class TBevelShape { Box, Frame };

class TBevel : public TControl {
 public:
  using TControl::TControl;
  TBevelShape Shape = TBevelShape::Box;

 protected:
  std::unique_ptr<TPeer> CreatePeer(TPeerFactory& factory) override;
};

// A frame with a hatched brush, drawn behind a picture.
class TShape : public TControl {
 public:
  using TControl::TControl;
  int PenWidth = 2;
  bool CrossBrush = true;

 protected:
  std::unique_ptr<TPeer> CreatePeer(TPeerFactory& factory) override;
};

class TImage : public TControl {
 public:
  using TControl::TControl;
  // The picture is an icon file; a missing or unreadable file shows an
  // empty picture rather than an error.
  void LoadFromFile(const std::string& path);
  const std::string& PictureFile() const { return FPictureFile; }
  // The picture is a JPEG file held in memory; it takes the place of an
  // icon file. Data that does not decode shows an empty picture.
  void SetJpeg(std::string data);
  const std::string& Jpeg() const { return FJpeg; }
  bool Center = true;
  // A JPEG picture is drawn to the control's size.
  bool Stretch = false;

  // Input: the user clicked the picture.
  void UserClicked() { DoEvent(OnClick, this); }

 protected:
  std::unique_ptr<TPeer> CreatePeer(TPeerFactory& factory) override;

 private:
  std::string FPictureFile;
  std::string FJpeg;
};

}  // namespace platform
