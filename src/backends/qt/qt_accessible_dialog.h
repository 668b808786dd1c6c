// The info dialog as Qt's bridge shows it to screen readers: a dialog named by its title,
// holding the texts, links and buttons the core lists, and the close box of its own title bar.
#pragma once

#include <vector>

#include <QAccessibleWidget>

#include "platform/Accessible.h"

namespace tasklane::qt {

class QtDialogWindow;

class DialogAccess final : public QAccessibleWidget {
 public:
  explicit DialogAccess(QtDialogWindow& dialog);
  ~DialogAccess() override;

  // The core's parts, then the close box.
  int PartCount() const;
  platform::AccessiblePart Part(int index) const;
  QRect PartOnScreen(int index) const;
  void Activate(int index);

  QAccessibleInterface* child(int index) const override;
  int childCount() const override { return PartCount(); }
  int indexOfChild(const QAccessibleInterface* child) const override;
  QAccessibleInterface* childAt(int x, int y) const override;

 private:
  QtDialogWindow& Dialog() const;
  bool IsCloseBox(int index) const;
  mutable std::vector<QAccessible::Id> parts_;  // registered with Qt's cache on the first look
};

// Gives Qt the dialog's interface; nullptr for another object.
QAccessibleInterface* DialogAccessFor(QObject* object);

}  // namespace tasklane::qt
