#include "backends/win32/win32_ime.h"

#include <imm.h>

#include <algorithm>

namespace tasklane::win32 {

void PlaceInputMethod(HWND window, const platform::Rect& caret, const platform::Font& font, const DpiScale& scale) {
  const HIMC context = ImmGetContext(window);
  if (!context) return;
  const RECT at = scale.Device(caret);
  COMPOSITIONFORM composition{};
  composition.dwStyle = CFS_POINT;
  composition.ptCurrentPos = {at.left, at.top};
  ImmSetCompositionWindow(context, &composition);
  CANDIDATEFORM candidates{};
  candidates.dwIndex = 0;
  candidates.dwStyle = CFS_CANDIDATEPOS;
  candidates.ptCurrentPos = {at.left, at.bottom};
  ImmSetCandidateWindow(context, &candidates);
  LOGFONTW face{};
  face.lfHeight = -scale.Device(font.pixelHeight);
  face.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  face.lfCharSet = DEFAULT_CHARSET;
  const std::size_t length = std::min<std::size_t>(font.family.size(), LF_FACESIZE - 1);
  std::copy_n(font.family.begin(), length, face.lfFaceName);
  ImmSetCompositionFontW(context, &face);
  ImmReleaseContext(window, context);
}

}  // namespace tasklane::win32
