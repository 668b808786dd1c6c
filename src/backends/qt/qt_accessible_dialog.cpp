// Screen readers on Linux: the info dialog's parts as Qt's accessibility interfaces.
//
//  [x] the dialog, named by its title; its texts in reading order
//  [x] the links and the logo button, activated by their action as a click would
//  [x] the title bar's close box, which hides the dialog
#include "backends/qt/qt_accessible_dialog.h"

#include <QCoreApplication>

#include "backends/qt/qt_dialog_window.h"
#include "backends/qt/qt_text.h"

namespace tasklane::qt {

using platform::AccessibleRole;

namespace {

class DialogPartAccess final : public QAccessibleInterface, public QAccessibleActionInterface {
 public:
  DialogPartAccess(DialogAccess& dialog, int index) : dialog_(dialog), index_(index) {}

  bool isValid() const override { return dialog_.isValid() && index_ < dialog_.PartCount(); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return dialog_.window(); }
  QAccessibleInterface* parent() const override { return &dialog_; }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  void setText(QAccessible::Text, const QString&) override {}

  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Name && isValid() ? QtString(dialog_.Part(index_).name) : QString();
  }
  QRect rect() const override { return isValid() ? dialog_.PartOnScreen(index_) : QRect(); }
  QAccessible::Role role() const override {
    switch (isValid() ? dialog_.Part(index_).role : AccessibleRole::Text) {
      case AccessibleRole::Link: return QAccessible::Link;
      case AccessibleRole::Button: return QAccessible::Button;
      default: return QAccessible::StaticText;
    }
  }
  QAccessible::State state() const override {
    QAccessible::State s;
    s.linked = role() == QAccessible::Link;
    return s;
  }
  void* interface_cast(QAccessible::InterfaceType type) override {
    const bool acts = role() != QAccessible::StaticText;
    return acts && type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
  }

  QStringList actionNames() const override { return {pressAction()}; }
  void doAction(const QString& name) override {
    if (name == pressAction() && isValid()) dialog_.Activate(index_);
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

 private:
  DialogAccess& dialog_;
  int index_;
};

}  // namespace

DialogAccess::DialogAccess(QtDialogWindow& dialog) : QAccessibleWidget(&dialog, QAccessible::Dialog) {}

// NOTE: Qt's cache may have removed the parts already when the program ends; removing an id
// twice does nothing.
DialogAccess::~DialogAccess() {
  for (QAccessible::Id id : parts_) QAccessible::deleteAccessibleInterface(id);
}

QtDialogWindow& DialogAccess::Dialog() const { return *static_cast<QtDialogWindow*>(widget()); }

int DialogAccess::PartCount() const { return static_cast<int>(Dialog().Events().AccessibleParts().size()) + 1; }

bool DialogAccess::IsCloseBox(int index) const { return index == PartCount() - 1; }

platform::AccessiblePart DialogAccess::Part(int index) const {
  if (IsCloseBox(index)) {
    return {AccessibleRole::Button, CoreString(QCoreApplication::translate("QMdiSubWindow", "Close")), {}};
  }
  return Dialog().Events().AccessibleParts().at(static_cast<std::size_t>(index));
}

QRect DialogAccess::PartOnScreen(int index) const {
  QRect inWidget = Dialog().CloseBoxRect();
  if (!IsCloseBox(index)) {
    const platform::Rect b = Part(index).bounds;
    inWidget = QRect(Dialog().ClientRect().topLeft() + QPoint(b.left, b.top), QSize(b.Width(), b.Height()));
  }
  return QRect(Dialog().mapToGlobal(inWidget.topLeft()), inWidget.size());
}

// The close box hides the dialog as a click on it does.
void DialogAccess::Activate(int index) {
  if (IsCloseBox(index)) Dialog().close();
  else Dialog().Events().ActivatePart(index);
}

QAccessibleInterface* DialogAccess::child(int index) const {
  if (index < 0 || index >= PartCount()) return nullptr;
  while (static_cast<int>(parts_.size()) <= index) {
    const int next = static_cast<int>(parts_.size());
    parts_.push_back(QAccessible::registerAccessibleInterface(new DialogPartAccess(const_cast<DialogAccess&>(*this), next)));
  }
  return QAccessible::accessibleInterface(parts_[static_cast<std::size_t>(index)]);
}

int DialogAccess::indexOfChild(const QAccessibleInterface* child) const {
  for (std::size_t i = 0; i < parts_.size(); ++i) {
    if (QAccessible::accessibleInterface(parts_[i]) == child) return static_cast<int>(i);
  }
  return -1;
}

QAccessibleInterface* DialogAccess::childAt(int x, int y) const {
  for (int i = 0; i < PartCount(); ++i) {
    if (PartOnScreen(i).contains(x, y)) return child(i);
  }
  return nullptr;
}

QAccessibleInterface* DialogAccessFor(QObject* object) {
  if (auto* dialog = dynamic_cast<QtDialogWindow*>(object)) return new DialogAccess(*dialog);
  return nullptr;
}

}  // namespace tasklane::qt
