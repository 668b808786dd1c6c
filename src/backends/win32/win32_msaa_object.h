// What every MSAA object of the program shares: COM's reference counting and interface
// query, IDispatch left to the methods' direct calls, no help texts, and the small
// conversions into what MSAA hands back.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <string>

#include "backends/win32/win32_com.h"

namespace tasklane::win32 {

class AccessibleObject : public IAccessible {
 public:
  // NOTE: MinGW-w64's libuuid and liboleacc both define IID_IAccessible, and a program that
  // names it links neither way; __uuidof needs neither.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    const bool known = iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IAccessible);
    return Handed(known ? static_cast<IAccessible*>(this) : nullptr, this, out);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return references_.Add(); }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = references_.Drop();
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override { return help ? NoText(help) : E_POINTER; }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
    if (!file || !topic) return E_POINTER;
    *topic = 0;
    return NoText(file);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* keys) override {
    return keys ? NoText(keys) : E_POINTER;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }

 protected:
  virtual ~AccessibleObject() = default;

  static HRESULT Text(std::u16string_view text, BSTR* out) {
    *out = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
  }
  static HRESULT NoText(BSTR* out) {
    *out = nullptr;
    return S_FALSE;
  }
  static HRESULT Number(LONG number, VARIANT* out) {
    out->vt = VT_I4;
    out->lVal = number;
    return S_OK;
  }
  static HRESULT Nothing(VARIANT* out) {
    out->vt = VT_EMPTY;
    return S_FALSE;
  }
  static HRESULT Object(IDispatch* object, VARIANT* out) {
    out->vt = VT_DISPATCH;
    out->pdispVal = object;
    return S_OK;
  }
  static VARIANT SelfId() {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = CHILDID_SELF;
    return v;
  }
  static bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }
  // A rectangle on the screen, in its pixels.
  static HRESULT Location(const RECT& device, long* left, long* top, long* width, long* height) {
    *left = device.left;
    *top = device.top;
    *width = device.right - device.left;
    *height = device.bottom - device.top;
    return S_OK;
  }

 private:
  ReferenceCount references_;
};

// Hands a screen reader the client area's object when that is what it asks for; `make` makes
// it, with one reference, only then.
template <typename Make>
LRESULT AnswerGetObject(HWND window, WPARAM wParam, LPARAM lParam, Make make) {
  // NOTE: a 64-bit window gets the object id in the low 32 bits only.
  if (static_cast<LONG>(static_cast<DWORD>(lParam)) != OBJID_CLIENT) return DefWindowProcW(window, WM_GETOBJECT, wParam, lParam);
  IAccessible* client = make();
  const LRESULT answer = LresultFromObject(__uuidof(IAccessible), wParam, client);
  client->Release();
  return answer;
}

}  // namespace tasklane::win32
