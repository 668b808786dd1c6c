// The hint window: one line of text in a small bordered box that stays on top and never
// takes the focus or the mouse.
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

namespace tasklane::qt {

class QtHint final : public QWidget {
 public:
  QtHint();

  // Shows the text with its top-left corner at `at` on the screen, pushed back onto the
  // screen where it would stick out.
  void ShowAt(const QString& text, QPoint at, QColor background);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString text_;
  QColor background_;
};

}  // namespace tasklane::qt
