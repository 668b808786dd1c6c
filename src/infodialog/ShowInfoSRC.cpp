// The info dialog's parts, its texts in both languages, and how an opening sets it up.
#include "infodialog/ShowInfoSRC.h"

#include "ui/ArtPicture.h"

namespace tasklane::infodialog {

namespace {

constexpr platform::Font large{u"Verdana", 12, false};
constexpr platform::Font small{u"Verdana", 10, false};
constexpr platform::Color grey{128, 128, 128};
constexpr platform::Size windowSize{483, 456};
constexpr platform::Rect logoBounds{390, 310, 390 + 77, 310 + 90};
constexpr std::u16string_view noticeFirstLine = u"Free to use, given as it is.";

struct Text {
  ui::Label TShowInfoDialog::*label;
  platform::Point at;
  std::u16string_view english;
  std::u16string_view german;  // empty: the same in both
};

// The labels' places and texts, in the order German texts are set.
const Text texts[] = {
    {&TShowInfoDialog::llbInfo11, {23, 61}, u"Click on the red bar to", u"Klicken Sie auf den roten"},
    {&TShowInfoDialog::llbInfo12, {23, 76}, u"shrink 'Tasklane' to a small", u"Streifen um \"Tasklane\" auf"},
    {&TShowInfoDialog::llbInfo13, {23, 91}, u"bar on your desktop.", u"ihren Desktop zu verkleinern."},
    {&TShowInfoDialog::llbInfo21, {23, 120}, u"Right click anywhere to", u"Klicken Sie irgendwo mit der"},
    {&TShowInfoDialog::llbInfo22, {23, 135}, u"open a menu with more", u"rechten Maustaste f\u00fcr ein"},
    {&TShowInfoDialog::llbInfo23, {23, 150}, u"options!", u"Men\u00fc mit mehr Funktionen."},
    {&TShowInfoDialog::llbInfo31, {23, 178}, u"Use the + and - to add", u"Mit + / - erzeugen / l\u00f6schen"},
    {&TShowInfoDialog::llbInfo32, {23, 193}, u"or remove columns / rows", u"Sie Spalten oder Zeilen"},
    {&TShowInfoDialog::llbInfo4, {12, 225}, u"More information here:", u"Mehr Informationen hier:"},
    {&TShowInfoDialog::lblLink, {178, 225}, tasklaneAddress, tasklaneGermanAddress},
    {&TShowInfoDialog::llbQBLink, {21, 364}, quillboxAddress, quillboxGermanAddress},
    {&TShowInfoDialog::llbQBInfo1, {21, 340}, u"'Tasklane' is an official Plugin of the popular",
     u"\"Tasklane\" ist ein offizielles Plugin des"},
    {&TShowInfoDialog::llbQBInfo2, {21, 352}, u"Quillbox Organizers. Please visit", u"Quillbox Organizers. Besuchen Sie"},
    {&TShowInfoDialog::llbQBInfo3, {152, 364}, u"and test it for free!", u"und testen Sie kostenlos das"},
    {&TShowInfoDialog::llbQBInfo4, {21, 376}, u"Quillbox is a helpful, fast-access systems tray",
     u"geniale und preisgekr\u00f6nte Tool zum Verwalten von"},
    {&TShowInfoDialog::llbQBInfo5, {21, 388}, u"tool for making and storing quick notes.", u"Notizen, Terminen und Adressen."},
    {&TShowInfoDialog::llbInfoNotice1, {262, 266}, noticeFirstLine, {}},
    {&TShowInfoDialog::llbInfoNotice2, {262, 278}, u"The Tasklane developers", {}},
};

const std::u16string englishHint = u"Visit " + std::u16string(quillboxAddress);
const std::u16string germanHint = std::u16string(quillboxGermanAddress) + u" besuchen";

}  // namespace

TShowInfoDialog::TShowInfoDialog(platform::Platform& platform, const ui::HintSettings& hints,
                                 const std::u16string& language)
    : Form(u"ShowInfoDialog", nullptr),
      imgInfo(u"imgInfo", &Form),
      btnQBIconNormal(u"btnQBIconNormal", &Form),
      btnQBIconHover(u"btnQBIconHover", &Form),
      btnQBIconActive(u"btnQBIconActive", &Form),
      llbInfo4(u"llbInfo4", &Form, large),
      llbInfo11(u"llbInfo11", &Form, large),
      llbInfo12(u"llbInfo12", &Form, large),
      llbInfo13(u"llbInfo13", &Form, large),
      llbInfo23(u"llbInfo23", &Form, large),
      llbInfo21(u"llbInfo21", &Form, large),
      llbInfo22(u"llbInfo22", &Form, large),
      llbQBInfo1(u"llbQBInfo1", &Form, small),
      llbQBInfo2(u"llbQBInfo2", &Form, small),
      llbQBInfo3(u"llbQBInfo3", &Form, small),
      llbQBInfo4(u"llbQBInfo4", &Form, small),
      llbQBInfo5(u"llbQBInfo5", &Form, small),
      llbQBLink(u"llbQBLink", &Form, small),
      lblLink(u"lblLink", &Form, large),
      llbInfoNotice1(u"llbInfoNotice1", &Form, small),
      llbInfoNotice2(u"llbInfoNotice2", &Form, small),
      llbInfo32(u"llbInfo32", &Form, large),
      llbInfo31(u"llbInfo31", &Form, large),
      lblLinkTarget(tasklaneAddress),
      llbQBLinkTarget(quillboxAddress),
      platform_(platform),
      language_(language),
      window_(platform.CreateDialogWindow(*this)),
      hints_(platform, hints, [this](int intervalMs, bool enabled) { window_->SetTimer(intervalMs, enabled); }) {
  imgInfo.SetPicture(ui::ArtPicture("imgInfo.jpg"));
  btnQBIconNormal.SetPicture(ui::ArtPicture("btnQBIconNormal.jpg"));
  btnQBIconHover.SetPicture(ui::ArtPicture("btnQBIconHover.jpg"));
  btnQBIconActive.SetPicture(ui::ArtPicture("btnQBIconActive.jpg"));
  btnQBIconHover.SetVisible(false);
  btnQBIconActive.SetVisible(false);
  for (const Text& text : texts) (this->*text.label).SetText(text.english);
  for (ui::Label* link : {&lblLink, &llbQBLink}) {
    link->Color = linkBlue;
    link->Underline = true;
  }
  llbInfoNotice1.Color = grey;
  llbInfoNotice2.Color = grey;
  for (ui::Control* control : {static_cast<ui::Control*>(&btnQBIconNormal), static_cast<ui::Control*>(&btnQBIconHover),
                               static_cast<ui::Control*>(&btnQBIconActive), static_cast<ui::Control*>(&llbQBLink)}) {
    control->SetHint(englishHint);
  }
  auto repaint = [this](ui::Control&) { window_->Repaint(); };
  for (ui::Label* label : Labels()) label->OnRepaint(repaint);
  for (ui::PictureImage* logo : Logos()) logo->OnRepaint(repaint);
}

std::vector<ui::Label*> TShowInfoDialog::Labels() {
  std::vector<ui::Label*> labels;
  for (const Text& text : texts) labels.push_back(&(this->*text.label));
  return labels;
}

std::vector<ui::PictureImage*> TShowInfoDialog::Logos() { return {&btnQBIconNormal, &btnQBIconHover, &btnQBIconActive}; }

void TShowInfoDialog::Open(std::u16string_view languageName) {
  imgInfo.SetBounds(platform::Rect::FromBounds(0, 0, windowSize.width, windowSize.height));
  for (ui::PictureImage* logo : Logos()) logo->SetBounds(logoBounds);
  for (const Text& text : texts) (this->*text.label).MoveTo(text.at);
  const platform::Size screen = platform_.PrimaryScreenSize();
  window_->SetOuterBounds(platform::Rect::FromBounds(platform::CentredStart(screen.width, windowSize.width),
                                                     platform::CentredStart(screen.height, windowSize.height),
                                                     windowSize.width, windowSize.height));
  window_->SetTitle(u"Tasklane Version 1.0");
  llbInfoNotice1.SetText(noticeFirstLine);
  if (languageName == u"Deutsch") SetGermanTexts();
  window_->Show();
}

void TShowInfoDialog::SetGermanTexts() {
  for (const Text& text : texts) {
    if (!text.german.empty()) (this->*text.label).SetText(text.german);
  }
  lblLinkTarget = lblLink.Text();
  llbQBLinkTarget = llbQBLink.Text();
  for (ui::Control* control : {static_cast<ui::Control*>(&btnQBIconNormal), static_cast<ui::Control*>(&btnQBIconActive),
                               static_cast<ui::Control*>(&btnQBIconHover), static_cast<ui::Control*>(&llbQBLink)}) {
    control->SetHint(germanHint);
  }
}

TShowInfoDialog& InfoDialogs::OpenInfoDialog(std::u16string_view languageName) {
  TShowInfoDialog& dialog = *dialogs_.emplace_back(std::make_unique<TShowInfoDialog>(platform_, hints_, InfoDialogLanguage));
  ShowInfoDialog = &dialog;
  InfoDialogLanguage = languageName;
  hints_ = {platform::Color{255, 255, 255}, 400, 25000};
  dialog.Open(languageName);
  return dialog;
}

}  // namespace tasklane::infodialog
