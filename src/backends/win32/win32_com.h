// What every COM object of the program does the same way: its reference count, and handing
// out one of its interfaces from QueryInterface.
#pragma once

#include <windows.h>
#include <unknwn.h>

namespace tasklane::win32 {

// Starts with the one reference its maker holds; the object deletes itself when Drop says 0.
class ReferenceCount {
 public:
  ULONG Add() { return static_cast<ULONG>(InterlockedIncrement(&count_)); }
  ULONG Drop() { return static_cast<ULONG>(InterlockedDecrement(&count_)); }

 private:
  LONG count_ = 1;
};

// QueryInterface's answer: `found` is the asked interface of `self`, or nullptr.
inline HRESULT Handed(void* found, IUnknown* self, void** out) {
  if (!out) return E_POINTER;
  *out = found;
  if (!found) return E_NOINTERFACE;
  self->AddRef();
  return S_OK;
}

}  // namespace tasklane::win32
