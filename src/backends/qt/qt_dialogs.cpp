// QtPlatform: modal message boxes.
//
//  [x] title, text, icon (none, error, warning, information, question)
//  [x] Ok, or Yes and No, answered
//  [x] owned by the main window, or by none
//  [x] a confirmation: the question, Yes and No, titled as the toolkit titles one
#include <QMessageBox>

#include "backends/qt/qt_platform.h"
#include "backends/qt/qt_state.h"
#include "backends/qt/qt_text.h"
#include "mainwindow/ToDoUnit.h"

namespace tasklane::qt {

namespace {

QMessageBox::Icon QtIconOf(platform::MessageIcon icon) {
  switch (icon) {
    case platform::MessageIcon::None: return QMessageBox::NoIcon;
    case platform::MessageIcon::Error: return QMessageBox::Critical;
    case platform::MessageIcon::Warning: return QMessageBox::Warning;
    case platform::MessageIcon::Information: return QMessageBox::Information;
    case platform::MessageIcon::Question: return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

// The core writes line breaks as CR LF; a label shows the CR as a character of its own.
QString BoxText(std::u16string_view text) {
  QString qtText = QtString(text);
  qtText.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  qtText.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return qtText;
}

// The answer of a box with the given buttons, shown modally.
platform::MessageAnswer RunBox(QMessageBox& box, platform::MessageButtons buttons) {
  // File names and list texts are shown as they are, never as markup.
  box.setTextFormat(Qt::PlainText);
  const int answer = box.exec();
  if (buttons != platform::MessageButtons::YesNo) return platform::MessageAnswer::Ok;
  return answer == QMessageBox::Yes ? platform::MessageAnswer::Yes : platform::MessageAnswer::No;
}

}  // namespace

platform::MessageAnswer QtPlatform::ShowMessage(std::u16string_view title, std::u16string_view text,
                                                platform::MessageIcon icon, platform::MessageButtons buttons,
                                                bool ownerless) {
  const bool yesNo = buttons == platform::MessageButtons::YesNo;
  QMessageBox box(QtIconOf(icon), QtString(title), BoxText(text),
                  yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                  ownerless ? nullptr : &state_->window);
  return RunBox(box, buttons);
}

// NOTE: Qt has no title of its own for a confirmation; it gets the one the Windows toolkit
// gives it, in the build's language.
platform::MessageAnswer QtPlatform::ShowConfirmation(std::u16string_view question) {
  const QString title = mainwindow::buildEnglishUI ? QStringLiteral("Confirm") : QStringLiteral("Best\u00e4tigen");
  QMessageBox box(QMessageBox::Question, title, BoxText(question), QMessageBox::Yes | QMessageBox::No,
                  &state_->window);
  return RunBox(box, platform::MessageButtons::YesNo);
}

}  // namespace tasklane::qt
