// The UI Automation control patterns the main window's parts offer, declared here since
// MinGW-w64's headers stop at the providers themselves. The order of the methods is the
// interfaces' own, as Windows calls them through their tables.
#pragma once

#include <windows.h>
#include <oleauto.h>
#include <uiautomationcore.h>

namespace tasklane::win32::uia {

// Control types, patterns and events by their numbers.
enum : int {
  buttonControl = 50000,
  editControl = 50004,
  dataItemControl = 50029,
  paneControl = 50033,
  headerControl = 50034,
  headerItemControl = 50035,
  tableControl = 50036,
  focusChangedEvent = 20005,
  invokePattern = 10000,
  valuePattern = 10002,
  gridPattern = 10006,
  gridItemPattern = 10007,
  selectionPattern = 10001,
  selectionItemPattern = 10010,
  tablePattern = 10012,
  tableItemPattern = 10013,
  controlTypeProperty = 30003,
  nameProperty = 30005,
  hasKeyboardFocusProperty = 30008,
  isKeyboardFocusableProperty = 30009,
  isEnabledProperty = 30010,
  helpTextProperty = 30013,
  isOffscreenProperty = 30022,
  itemStatusProperty = 30026,
  valueValueProperty = 30045,
};

constexpr HRESULT elementNotAvailable = static_cast<HRESULT>(0x80040201);  // UIA_E_ELEMENTNOTAVAILABLE
constexpr HRESULT invalidOperation = static_cast<HRESULT>(0x80131509);     // UIA_E_INVALIDOPERATION

constexpr GUID valueProviderId{0xc7935180, 0x6fb3, 0x4201, {0xb1, 0x74, 0x7d, 0xf7, 0x3a, 0xdb, 0xf6, 0x4a}};
struct ValueProvider : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetValue(LPCWSTR value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Value(BSTR* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsReadOnly(BOOL* readOnly) = 0;
};

constexpr GUID invokeProviderId{0x54fcb24b, 0xe18e, 0x47a2, {0xb4, 0xd3, 0xec, 0xcb, 0xe7, 0x75, 0x99, 0xa2}};
struct InvokeProvider : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke() = 0;
};

constexpr GUID gridProviderId{0xb17d6187, 0x0907, 0x464b, {0xa1, 0x68, 0x0e, 0xf1, 0x7a, 0x15, 0x72, 0xb1}};
struct GridProvider : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetItem(int row, int column, IRawElementProviderSimple** item) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_RowCount(int* count) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ColumnCount(int* count) = 0;
};

constexpr GUID gridItemProviderId{0xd02541f1, 0xfb81, 0x4d64, {0xae, 0x32, 0xf5, 0x20, 0xf8, 0xa6, 0xdb, 0xd1}};
struct GridItemProvider : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_Row(int* row) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Column(int* column) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_RowSpan(int* span) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ColumnSpan(int* span) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ContainingGrid(IRawElementProviderSimple** grid) = 0;
};

constexpr GUID tableProviderId{0x9c860395, 0x97b3, 0x490a, {0xb5, 0x2a, 0x85, 0x8c, 0xc2, 0x2a, 0xf1, 0x66}};
struct TableProvider : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetRowHeaders(SAFEARRAY** headers) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetColumnHeaders(SAFEARRAY** headers) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_RowOrColumnMajor(int* major) = 0;  // 0: by rows
};

constexpr GUID tableItemProviderId{0xb9734fa6, 0x771f, 0x4d78, {0x9c, 0x90, 0x25, 0x17, 0x99, 0x93, 0x49, 0xcd}};
struct TableItemProvider : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetRowHeaderItems(SAFEARRAY** headers) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetColumnHeaderItems(SAFEARRAY** headers) = 0;
};

constexpr GUID selectionItemProviderId{0x2acad808, 0xb2d4, 0x452d, {0xa4, 0x07, 0x91, 0xff, 0x1a, 0xd1, 0x67, 0xb2}};
struct SelectionItemProvider : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Select() = 0;
  virtual HRESULT STDMETHODCALLTYPE AddToSelection() = 0;
  virtual HRESULT STDMETHODCALLTYPE RemoveFromSelection() = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsSelected(BOOL* selected) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_SelectionContainer(IRawElementProviderSimple** container) = 0;
};

constexpr GUID selectionProviderId{0xfb8b03af, 0x3bdf, 0x48d4, {0xbd, 0x36, 0x1a, 0x65, 0x79, 0x3b, 0xe1, 0x68}};
struct SelectionProvider : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetSelection(SAFEARRAY** selection) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_CanSelectMultiple(BOOL* multiple) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsSelectionRequired(BOOL* required) = 0;
};

}  // namespace tasklane::win32::uia
