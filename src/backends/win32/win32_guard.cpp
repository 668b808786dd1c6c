#include "backends/win32/win32_guard.h"

#include <stdexcept>
#include <string>

#include "backends/win32/win32_text.h"
#include "xml/Charsets.h"
#include "xml/XmlTree.h"

namespace tasklane::win32 {

namespace {

std::u16string MessageOf(const std::exception_ptr& failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const xml::XmlError& e) {
    return e.Message();
  } catch (const std::exception& e) {
    return xml::FromUtf8(e.what());
  } catch (...) {
    return u"Unknown failure";
  }
}

}  // namespace

void ReportFailure(FailureReports& reports, HWND owner, const std::exception_ptr& failure) {
  if (reports.open) return;
  try {
    const std::wstring text = Wide(MessageOf(failure));
    reports.open = true;
    MessageBoxW(IsWindow(owner) ? owner : nullptr, text.c_str(), L"Tasklane", MB_OK | MB_ICONERROR);
  } catch (...) {
    // Not even the report could be made (no memory for its text): the program goes on.
  }
  reports.open = false;
}

}  // namespace tasklane::win32
