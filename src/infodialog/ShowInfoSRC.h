// The info dialog: three numbered hints on the main window, a link to Tasklane's page, and
// the organizer Tasklane belongs to, with its round logo button and link. It opens without
// blocking, and every opening makes a new window.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "ui/HintTracker.h"
#include "ui/Label.h"
#include "ui/PictureImage.h"

namespace tasklane::infodialog {

inline constexpr std::u16string_view tasklaneAddress = u"www.tasklane.org";
inline constexpr std::u16string_view tasklaneGermanAddress = u"www.tasklane.org/de";
inline constexpr std::u16string_view quillboxAddress = u"www.quillbox.com";
inline constexpr std::u16string_view quillboxGermanAddress = u"www.quillbox.de";

class TShowInfoDialog final : public platform::DialogEvents {
 public:
  static constexpr platform::Color windowColor{224, 224, 228};
  static constexpr platform::Color linkBlue{0, 0, 255};
  static constexpr platform::Color linkRed{255, 0, 0};

  // `language` is the last opening's language name, shared by every dialog.
  TShowInfoDialog(platform::Platform& platform, const ui::HintSettings& hints, const std::u16string& language);

  // The steps of an opening, after the hint settings: places, texts, then the window shows.
  void Open(std::u16string_view languageName);
  platform::DialogWindow& Window() { return *window_; }

  // Handlers.
  void FormKeyDown(int key);
  void imgInfoMouseDown();
  void mmoTextMouseDown() { imgInfoMouseDown(); }
  void imgInfoMouseMove();
  void btnQBIconNormalMouseMove();
  void btnQBIconHoverMouseDown() { btnQBIconActive.SetVisible(true); }
  void lblLinkMouseMove() { lblLink.Color = linkRed; }
  void btnQBIconNormalClick();

  // Events from the window.
  void Paint(platform::Canvas& canvas) override;
  void MouseDown(platform::MouseButton button, platform::Point point, platform::ShiftState shift) override;
  void MouseMove(platform::Point point, platform::ShiftState shift) override;
  void MouseUp(platform::MouseButton button, platform::Point point, platform::ShiftState shift) override;
  void MouseLeave() override { hints_.Track(nullptr); }
  void KeyDown(int key, platform::ShiftState) override { FormKeyDown(key); }
  void TimerTick() override { hints_.Tick(); }
  std::vector<platform::AccessiblePart> AccessibleParts() override;
  void ActivatePart(int index) override;

  ui::Control Form;
  ui::PictureImage imgInfo;
  ui::PictureImage btnQBIconNormal;
  ui::PictureImage btnQBIconHover;
  ui::PictureImage btnQBIconActive;
  ui::Label llbInfo4, llbInfo11, llbInfo12, llbInfo13, llbInfo23, llbInfo21, llbInfo22;
  ui::Label llbQBInfo1, llbQBInfo2, llbQBInfo3, llbQBInfo4, llbQBInfo5;
  ui::Label llbQBLink, lblLink, llbInfoNotice1, llbInfoNotice2, llbInfo32, llbInfo31;
  // Where the two links lead: the address each shows.
  std::u16string lblLinkTarget;
  std::u16string llbQBLinkTarget;

 private:
  std::vector<ui::Label*> Labels();
  std::vector<ui::PictureImage*> Logos();  // from the bottom up
  ui::Control* ControlAt(platform::Point point);
  void SetGermanTexts();

  platform::Platform& platform_;
  const std::u16string& language_;
  std::unique_ptr<platform::DialogWindow> window_;
  ui::HintTracker hints_;
  ui::Control* pressed_ = nullptr;  // took the last left press, for its click
};

// Every info dialog the program opened; they stay until it ends.
class InfoDialogs {
 public:
  InfoDialogs(platform::Platform& platform, ui::HintSettings& hints) : platform_(platform), hints_(hints) {}

  // Opens a new dialog in that language ("Deutsch" for German) and returns at once.
  TShowInfoDialog& OpenInfoDialog(std::u16string_view languageName);

  TShowInfoDialog* ShowInfoDialog = nullptr;  // the newest
  std::u16string InfoDialogLanguage;

 private:
  platform::Platform& platform_;
  ui::HintSettings& hints_;
  std::vector<std::unique_ptr<TShowInfoDialog>> dialogs_;
};

}  // namespace tasklane::infodialog
