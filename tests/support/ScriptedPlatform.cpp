#include "support/ScriptedPlatform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <random>
#include <stdexcept>
#include <system_error>

namespace tasklane::testing {
namespace fs = std::filesystem;
using platform::MessageAnswer;
using platform::MessageButtons;

namespace {

// Test processes run side by side under ctest, so the name carries a random part, and a
// name already taken is passed over.
fs::path MakeOwnFolder() {
  static std::mt19937_64 random{std::random_device{}()};
  for (;;) {
    char name[40];
    std::snprintf(name, sizeof name, "tasklane-scripted-%016llx", static_cast<unsigned long long>(random()));
    const fs::path folder = fs::temp_directory_path() / name;
    if (fs::create_directory(folder)) return folder;
  }
}

// Read-only files and folders a test left behind must not keep the folder from going.
void RemoveFolder(const fs::path& folder) {
  std::error_code ignored;
  fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, ignored);
  for (fs::recursive_directory_iterator it(folder, ignored), end; !ignored && it != end; it.increment(ignored)) {
    std::error_code alsoIgnored;
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, alsoIgnored);
  }
  fs::remove_all(folder, ignored);
}

char16_t FoldCase(char16_t c) {
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 32);
  if (c == 0x178) return 0xFF;  // Y with diaeresis: its small form is in Latin-1, its capital is not
  return c;
}

bool Answers(MessageButtons buttons, MessageAnswer answer) {
  if (buttons == MessageButtons::Ok) return answer == MessageAnswer::Ok;
  return answer == MessageAnswer::Yes || answer == MessageAnswer::No;
}

}  // namespace

ScriptedPlatform::ScriptedPlatform(std::shared_ptr<ScriptedDesktop> desktop)
    : folder_(MakeOwnFolder()),
      previousCurrentFolder_(fs::current_path()),
      executablePath_(folder_ / "Tasklane"),
      desktop_(std::move(desktop)) {
#ifdef TASKLANE_GERMAN_UI
  language_ = u"DEUTSCH";  // the language the program under test was built in
#endif
}

ScriptedPlatform::~ScriptedPlatform() {
  if (holdsLock_) desktop_->lockExists = false;
  std::error_code ignored;
  fs::current_path(previousCurrentFolder_, ignored);
  RemoveFolder(folder_);
}

void ScriptedPlatform::SetCreationBounds(const platform::Rect& bounds) {
  if (events_) ADD_FAILURE() << "SetCreationBounds after the window was attached";
  bounds_ = bounds;
}

// A window made after the last one closed is the next run's.
void ScriptedPlatform::AttachWindow(platform::WindowEvents& events) {
  events_ = &events;
  closed_ = false;
}

void ScriptedPlatform::SetWindowBounds(const platform::Rect& bounds) {
  int width = std::max(bounds.Width(), 0);
  int height = std::max(bounds.Height(), 0);
  if (events_) {
    platform::Size minimum{0, 0};
    platform::Size maximum{16777215, 16777215};
    events_->SizeLimits(minimum, maximum);
    // The minimum wins over a smaller maximum, as it does in the window systems.
    width = std::max(std::min(width, maximum.width), minimum.width);
    height = std::max(std::min(height, maximum.height), minimum.height);
  }
  const bool resized = width != bounds_.Width() || height != bounds_.Height();
  bounds_ = platform::Rect::FromBounds(bounds.left, bounds.top, width, height);
  if (resized && events_) {
    ++resizedEvents_;
    events_->Resized();
  }
}

void ScriptedPlatform::ShowWindow(platform::WindowShow how) {
  if (showFails_) throw std::runtime_error("the window cannot be shown");
  showCalls_.push_back(how);
  if (closed_) return;
  visible_ = how != platform::WindowShow::Hide;
  if (how == platform::WindowShow::Minimize) minimized_ = true;
  if (how == platform::WindowShow::ShowNormal) minimized_ = false;
}

platform::Rect ScriptedPlatform::WorkAreaNearest(const platform::Rect& /*window*/) {
  return workAreaSet_ ? workArea_ : platform::Rect::FromBounds(0, 0, primaryScreen_.width, primaryScreen_.height);
}

ScriptedDialog::ScriptedDialog(platform::DialogEvents& events, std::vector<ScriptedDialog*>& registry)
    : events_(events), registry_(registry) {
  registry_.push_back(this);
}

ScriptedDialog::~ScriptedDialog() { std::erase(registry_, this); }

const OfferedItem* OfferedMenu::Item(std::u16string_view name) const {
  for (const OfferedItem& item : items) {
    if (item.name == name) return &item;
  }
  return nullptr;
}

namespace {

void Offer(platform::MenuItem& menu, int depth, std::vector<OfferedItem>& items) {
  for (int i = 0; i < menu.Count(); ++i) {
    platform::MenuItem& item = menu.At(i);
    if (item.Count() > 0 && item.Visible() && item.Enabled()) item.Popup();
    items.push_back({item.Name(), item.Caption(), item.Picture(), item.Visible(), item.Enabled(), item.Checked(),
                     item.RadioGroup(), depth});
    Offer(item, depth + 1, items);
  }
}

bool Reachable(const platform::MenuItem& item, const platform::MenuItem& menu) {
  for (const platform::MenuItem* at = &item; at && at != &menu; at = at->Parent()) {
    if (!at->Visible() || !at->Enabled()) return false;
  }
  return true;
}

}  // namespace

platform::MenuItem* ScriptedPlatform::OpenPopupMenu(platform::MenuItem& menu, platform::Point screen) {
  OfferedMenu offered{screen, {}};
  Offer(menu, 0, offered.items);
  menus_.push_back(std::move(offered));
  if (menuChoices_.empty()) return nullptr;
  const std::u16string name = menuChoices_.front();
  menuChoices_.pop_front();
  platform::MenuItem* chosen = menu.Find(name);
  if (!chosen || chosen == &menu || !Reachable(*chosen, menu)) {
    ADD_FAILURE() << "the menu offers no item to choose by that name";
    return nullptr;
  }
  return chosen;
}

void ScriptedPlatform::RequestClose() {
  ++closeRequests_;
  if (closed_) return;
  if (events_ && !events_->CloseQuery()) return;
  closed_ = true;
  visible_ = false;
}

void ScriptedPlatform::SetVirtualDesktop(const platform::Rect& desktop) {
  virtualDesktop_ = desktop;
  virtualDesktopSet_ = true;
}

platform::Rect ScriptedPlatform::VirtualDesktop() {
  if (virtualDesktopSet_) return virtualDesktop_;
  return platform::Rect::FromBounds(0, 0, primaryScreen_.width, primaryScreen_.height);
}

MessageAnswer ScriptedPlatform::ShowMessage(std::u16string_view title, std::u16string_view text,
                                            platform::MessageIcon icon, MessageButtons buttons, bool ownerless) {
  return Answer({std::u16string(title), std::u16string(text), icon, buttons, ownerless, topMost_});
}

MessageAnswer ScriptedPlatform::ShowConfirmation(std::u16string_view question) {
  return Answer({u"", std::u16string(question), platform::MessageIcon::Question, MessageButtons::YesNo, false,
                 topMost_, true});
}

// Takes a copy: the action may show a box of its own, which moves the list.
MessageAnswer ScriptedPlatform::Answer(ShownMessage shown) {
  const MessageButtons buttons = shown.buttons;
  messages_.push_back(shown);
  if (whileMessage_) whileMessage_(shown);
  const MessageAnswer fallback = buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
  if (answers_.empty()) return fallback;
  const MessageAnswer answer = answers_.front();
  answers_.pop_front();
  if (!Answers(buttons, answer)) {
    ADD_FAILURE() << "the scripted answer " << static_cast<int>(answer) << " is no button of the box shown";
    return fallback;
  }
  return answer;
}

const ScriptedTimer* ScriptedPlatform::Timer(int timerId) const {
  const auto it = timers_.find(timerId);
  return it == timers_.end() ? nullptr : &it->second;
}

bool ScriptedPlatform::TickTimer(int timerId) {
  const ScriptedTimer* timer = Timer(timerId);
  if (!timer || !timer->enabled || !events_ || closed_) return false;
  events_->TimerTick(timerId);
  return true;
}

int ScriptedPlatform::RunTimers(int maxTicks) {
  int ticks = 0;
  int last = INT_MIN;
  bool tickedThisRound = false;
  while (ticks < maxTicks) {
    // A tick may set timers, so the next one is looked up afresh each time.
    auto it = std::find_if(timers_.upper_bound(last), timers_.end(),
                           [](const auto& entry) { return entry.second.enabled; });
    if (it == timers_.end()) {
      if (!tickedThisRound) break;
      tickedThisRound = false;
      last = INT_MIN;
      continue;
    }
    last = it->first;
    if (!TickTimer(last)) break;  // enabled, yet no window to tick
    tickedThisRound = true;
    ++ticks;
  }
  return ticks;
}

void ScriptedPlatform::ProcessMessages() {
  ++processMessagesCalls_;
  if (whileProcessing_) whileProcessing_();
}

void ScriptedPlatform::SetCurrentFolder(const fs::path& folder) {
  currentFolderCalls_.push_back(folder);
  std::error_code ignored;
  fs::current_path(folder, ignored);
}

std::u16string ScriptedPlatform::NewGuid() {
  if (newGuidFails_) throw std::runtime_error("scripted failure: NewGuid");
  char text[40];
  std::snprintf(text, sizeof text, "{00000000-0000-0000-0000-%012llX}", static_cast<unsigned long long>(++guidsMade_));
  return std::u16string(text, text + 38);
}

platform::InstanceLock ScriptedPlatform::CreateInstanceLock(std::u16string_view name) {
  desktop_->lockNames.emplace_back(name);
  if (desktop_->createLockThrows) throw std::runtime_error("scripted failure: CreateInstanceLock");
  if (desktop_->lockFails) return platform::InstanceLock::Failed;
  if (desktop_->lockExists) return platform::InstanceLock::AlreadyExists;
  desktop_->lockExists = true;
  holdsLock_ = true;
  return platform::InstanceLock::Created;
}

void ScriptedPlatform::CloseInstanceLock() {
  ++desktop_->lockCloses;
  if (desktop_->closeLockThrows) throw std::runtime_error("scripted failure: CloseInstanceLock");
  // A second instance's handle to the same lock keeps the first one's lock alive.
  if (holdsLock_) desktop_->lockExists = false;
  holdsLock_ = false;
}

std::vector<platform::TopLevelWindow> ScriptedPlatform::TopLevelWindows() {
  if (desktop_->topLevelWindowsThrows) throw std::runtime_error("scripted failure: TopLevelWindows");
  return desktop_->windows;
}

void ScriptedPlatform::ShowNormalAndForeground(std::uintptr_t windowId) {
  desktop_->shownNormalAndForeground.push_back(windowId);
  if (desktop_->showNormalAndForegroundThrows) throw std::runtime_error("scripted failure: ShowNormalAndForeground");
  auto& windows = desktop_->windows;
  const auto it = std::find_if(windows.begin(), windows.end(),
                               [&](const platform::TopLevelWindow& window) { return window.id == windowId; });
  if (it != windows.end()) std::rotate(windows.begin(), it, it + 1);
}

bool ScriptedPlatform::SameTextIgnoringCase(std::u16string_view a, std::u16string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char16_t x, char16_t y) { return FoldCase(x) == FoldCase(y); });
}

}  // namespace tasklane::testing
