// The info dialog as a screen reader reads it: the lines of each hint as one text, the links
// and the logo button where they stand among them.
#include "infodialog/ShowInfoSRC.h"

#include <algorithm>

namespace tasklane::infodialog {

using platform::AccessiblePart;
using platform::AccessibleRole;

namespace {

// The lines of one text joined by blanks, over the rectangle that holds them all.
AccessiblePart Joined(std::initializer_list<const ui::Label*> lines) {
  AccessiblePart part;
  for (const ui::Label* line : lines) {
    const platform::Rect& b = line->Bounds();
    if (part.name.empty()) {
      part.bounds = b;
    } else {
      part.name += u' ';
      part.bounds = {std::min(part.bounds.left, b.left), std::min(part.bounds.top, b.top),
                     std::max(part.bounds.right, b.right), std::max(part.bounds.bottom, b.bottom)};
    }
    part.name += line->Text();
  }
  return part;
}

// The parts by their place in the reading order.
enum PartIndex { pageLink = 4, organizerLink = 6, logo = 8 };

AccessiblePart Acting(AccessibleRole role, std::u16string name, const ui::Control& control) {
  return {role, std::move(name), control.Bounds()};
}

}  // namespace

// The order a reader takes: the three hints, the page's link, then the organizer's block with
// its link and logo, and the notice last.
std::vector<AccessiblePart> TShowInfoDialog::AccessibleParts() {
  return {
      Joined({&llbInfo11, &llbInfo12, &llbInfo13}),
      Joined({&llbInfo21, &llbInfo22, &llbInfo23}),
      Joined({&llbInfo31, &llbInfo32}),
      Joined({&llbInfo4}),
      Acting(AccessibleRole::Link, lblLink.Text(), lblLink),
      Joined({&llbQBInfo1, &llbQBInfo2}),
      Acting(AccessibleRole::Link, llbQBLink.Text(), llbQBLink),
      Joined({&llbQBInfo3, &llbQBInfo4, &llbQBInfo5}),
      Acting(AccessibleRole::Button, btnQBIconNormal.Hint(), btnQBIconNormal),
      Joined({&llbInfoNotice1, &llbInfoNotice2}),
  };
}

void TShowInfoDialog::ActivatePart(int index) {
  switch (index) {
    case pageLink: platform_.OpenAddress(lblLinkTarget); break;
    case organizerLink: platform_.OpenAddress(llbQBLinkTarget); break;
    case logo: btnQBIconNormalClick(); break;
    default: break;
  }
}

}  // namespace tasklane::infodialog
