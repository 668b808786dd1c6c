// The one report every guarded routine shows when something fails that should not have.
#include "mainwindow/ToDoUnit.h"
#include "xml/Charsets.h"

namespace tasklane::mainwindow {
namespace {
constexpr std::u16string_view supportAddress = u"bugs@tasklane.org";
}  // namespace

void TToDoForm::ErrorReport(std::u16string_view place, Team team) {
  const std::u16string_view teamName = team == Team::Development ? u"development team" : u"Quillbox team";
  std::u16string text = u"Exception in ";
  text += place;
  text += u": This is - likely - an undiscovered bug!\r\nPlease report the bug to the ";
  text += teamName;
  text += u" at:\r\n";
  text += supportAddress;
  text += u"    Thank you!";
  platform_.ShowMessage(caption, text, platform::MessageIcon::None, platform::MessageButtons::Ok, false);
}

// What the program does with a failure that no routine of its own caught: its message in a
// box, and the program goes on, as a toolkit's own handling of an event would.
void TToDoForm::Unguarded(const std::function<void()>& body) {
  std::u16string message;
  try {
    body();
    Accessible.TellChanges();
    return;
  } catch (const xml::XmlError& e) {
    message = e.Message();
  } catch (const std::exception& e) {
    message = xml::FromUtf8(e.what());
  } catch (...) {
    message = u"Unknown failure";
  }
  platform_.ShowMessage(caption, message, platform::MessageIcon::Error, platform::MessageButtons::Ok, false);
  Accessible.TellChanges();
}

bool TToDoForm::Guarded(std::u16string_view place, Team team, const std::function<void()>& body) {
  try {
    body();
    return true;
  } catch (...) {
    ErrorReport(place, team);
    return false;
  }
}

}  // namespace tasklane::mainwindow
