// UI Automation providers for the main window's parts.
//
//  [x] one fragment per part: the client area as the root, hosted by the window; the table,
//      its rows and cells; the editor; the buttons. Navigation, bounds, runtime ids, focus
//  [x] properties: control type, name, help text (a cell's column title, "Folded"), focus,
//      off-screen, the value
//  [x] patterns: Grid, Table and Selection on the table, GridItem, TableItem, SelectionItem and a
//      read-only Value on a task's cell, Value on the editor, Invoke on a button
//  [x] events: focus, values, the table's children; nothing is raised while no client listens
//  [x] UI Automation found at run time: uiautomationcore.dll may be missing
#include "backends/win32/win32_uia.h"

#include <oleauto.h>
#include <uiautomationcore.h>

#include "backends/win32/win32_accessible.h"
#include "backends/win32/win32_com.h"
#include "backends/win32/win32_state.h"
#include "backends/win32/win32_uia_patterns.h"
#include "mainwindow/ToDoUnit.h"

namespace tasklane::win32 {

namespace {

// NOTE: MinGW-w64 has no import library for uiautomationcore.dll, and its header for the
// functions does not compile as C++; they are looked up once, by name.
struct Uia {
  LRESULT(WINAPI* returnProvider)(HWND, WPARAM, LPARAM, IRawElementProviderSimple*) = nullptr;
  HRESULT(WINAPI* hostProvider)(HWND, IRawElementProviderSimple**) = nullptr;
  HRESULT(WINAPI* raiseEvent)(IRawElementProviderSimple*, int) = nullptr;
  HRESULT(WINAPI* raiseProperty)(IRawElementProviderSimple*, int, VARIANT, VARIANT) = nullptr;
  HRESULT(WINAPI* raiseStructure)(IRawElementProviderSimple*, int, int*, int) = nullptr;
  BOOL(WINAPI* listening)() = nullptr;
};

template <typename Function>
void Find(HMODULE module, const char* name, Function& function) {
  function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

const Uia& Functions() {
  static const Uia uia = [] {
    Uia found;
    HMODULE module = LoadLibraryW(L"uiautomationcore.dll");
    if (!module) return found;
    Find(module, "UiaReturnRawElementProvider", found.returnProvider);
    Find(module, "UiaHostProviderFromHwnd", found.hostProvider);
    Find(module, "UiaRaiseAutomationEvent", found.raiseEvent);
    Find(module, "UiaRaiseAutomationPropertyChangedEvent", found.raiseProperty);
    Find(module, "UiaRaiseStructureChangedEvent", found.raiseStructure);
    Find(module, "UiaClientsAreListening", found.listening);
    return found;
  }();
  return uia;
}

bool Listening() { return Functions().listening && Functions().listening(); }

int ControlType(const PartId& p) {
  switch (p.kind) {
    case Kind::Client: return uia::paneControl;
    case Kind::Table: return uia::tableControl;
    case Kind::Row: return p.row == 0 ? uia::headerControl : uia::dataItemControl;
    case Kind::Cell: return p.row == 0 ? uia::headerItemControl : uia::dataItemControl;
    case Kind::Editor: return uia::editControl;
    case Kind::Button: return uia::buttonControl;
  }
  return uia::paneControl;
}

bool Offers(const PartId& p, const GUID& pattern) {
  if (pattern == uia::gridProviderId || pattern == uia::tableProviderId || pattern == uia::selectionProviderId) {
    return p.kind == Kind::Table;
  }
  if (pattern == uia::gridItemProviderId || pattern == uia::tableItemProviderId ||
      pattern == uia::selectionItemProviderId) {
    return TaskCell(p);
  }
  if (pattern == uia::valueProviderId) return p.kind == Kind::Cell || p.kind == Kind::Editor;
  if (pattern == uia::invokeProviderId) return p.kind == Kind::Button;
  return false;
}

const GUID* PatternById(PATTERNID id) {
  switch (id) {
    case uia::valuePattern: return &uia::valueProviderId;
    case uia::invokePattern: return &uia::invokeProviderId;
    case uia::gridPattern: return &uia::gridProviderId;
    case uia::gridItemPattern: return &uia::gridItemProviderId;
    case uia::tablePattern: return &uia::tableProviderId;
    case uia::tableItemPattern: return &uia::tableItemProviderId;
    case uia::selectionItemPattern: return &uia::selectionItemProviderId;
    case uia::selectionPattern: return &uia::selectionProviderId;
    default: return nullptr;
  }
}

HRESULT Text(const std::u16string& text, VARIANT* out) {
  out->vt = VT_BSTR;
  out->bstrVal = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()));
  return out->bstrVal ? S_OK : E_OUTOFMEMORY;
}

HRESULT Flag(bool flag, VARIANT* out) {
  out->vt = VT_BOOL;
  out->boolVal = flag ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

class Element final : public IRawElementProviderSimple,
                      public IRawElementProviderFragment,
                      public IRawElementProviderFragmentRoot,
                      public uia::ValueProvider,
                      public uia::InvokeProvider,
                      public uia::GridProvider,
                      public uia::GridItemProvider,
                      public uia::TableProvider,
                      public uia::TableItemProvider,
                      public uia::SelectionItemProvider,
                      public uia::SelectionProvider {
 public:
  Element(HWND window, PartId id) : window_(window), id_(id) {}

  // IUnknown, for all of the interfaces.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    return Handed(Cast(iid), static_cast<IRawElementProviderSimple*>(this), out);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return references_.Add(); }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = references_.Drop();
    if (left == 0) delete this;
    return left;
  }

  // IRawElementProviderSimple
  HRESULT STDMETHODCALLTYPE get_ProviderOptions(ProviderOptions* options) override {
    if (!options) return E_POINTER;
    *options = ProviderOptions_ServerSideProvider;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetPatternProvider(PATTERNID id, IUnknown** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    return Answer([&](const Context&) {
      const GUID* pattern = PatternById(id);
      if (pattern && Offers(id_, *pattern)) QueryInterface(*pattern, reinterpret_cast<void**>(out));
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE GetPropertyValue(PROPERTYID id, VARIANT* out) override {
    if (!out) return E_POINTER;
    VariantInit(out);
    return Answer([&](const Context& c) { return Property(c, id, out); });
  }
  HRESULT STDMETHODCALLTYPE get_HostRawElementProvider(IRawElementProviderSimple** host) override {
    if (!host) return E_POINTER;
    *host = nullptr;
    if (id_.kind != Kind::Client || !Functions().hostProvider) return S_OK;
    return Functions().hostProvider(window_, host);
  }

  // IRawElementProviderFragment
  HRESULT STDMETHODCALLTYPE Navigate(NavigateDirection direction, IRawElementProviderFragment** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    return Answer([&](const Context& c) {
      std::optional<PartId> next;
      switch (direction) {
        case NavigateDirection_Parent:
          if (id_.kind != Kind::Client) next = Parent(id_);
          break;
        case NavigateDirection_NextSibling: next = Sibling(c, id_, 1); break;
        case NavigateDirection_PreviousSibling: next = Sibling(c, id_, -1); break;
        case NavigateDirection_FirstChild: next = ChildAt(c, id_, 0); break;
        case NavigateDirection_LastChild: next = ChildAt(c, id_, ChildCount(c, id_) - 1); break;
      }
      if (next) *out = New(*next);
      return S_OK;
    });
  }
  // The root's id is the window's; the others' follow their place in the window.
  HRESULT STDMETHODCALLTYPE GetRuntimeId(SAFEARRAY** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (id_.kind == Kind::Client) return S_OK;
    const int id[] = {3 /* UiaAppendRuntimeId */, static_cast<int>(id_.kind), id_.col, id_.row};
    return Integers(id, 4, out);
  }
  HRESULT STDMETHODCALLTYPE get_BoundingRectangle(UiaRect* out) override {
    if (!out) return E_POINTER;
    *out = {};
    return Answer([&](const Context& c) {
      if (id_.kind != Kind::Client && Bounds(c, id_).Height() <= 0) return S_OK;
      const RECT device = ScreenBounds(c, id_);
      *out = {static_cast<double>(device.left), static_cast<double>(device.top),
              static_cast<double>(device.right - device.left), static_cast<double>(device.bottom - device.top)};
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE GetEmbeddedFragmentRoots(SAFEARRAY** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetFocus() override { return Select(); }
  HRESULT STDMETHODCALLTYPE get_FragmentRoot(IRawElementProviderFragmentRoot** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    return Answer([&](const Context&) {
      *out = New(PartId{Kind::Client});
      return S_OK;
    });
  }

  // IRawElementProviderFragmentRoot, of the client area.
  HRESULT STDMETHODCALLTYPE ElementProviderFromPoint(double x, double y, IRawElementProviderFragment** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    return Answer([&](const Context& c) {
      POINT device{static_cast<LONG>(x), static_cast<LONG>(y)};
      ScreenToClient(window_, &device);
      const PartId found = PartAt(c, c.state.scale.Logical(device));
      if (found.kind != Kind::Client) *out = New(found);
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE GetFocus(IRawElementProviderFragment** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    return Answer([&](const Context& c) {
      const std::optional<PartId> focused = FocusedPart(c);
      if (focused && focused->kind != Kind::Client) *out = New(*focused);
      return S_OK;
    });
  }

  // Value: a cell's text, read only; the editor's, which may be set.
  HRESULT STDMETHODCALLTYPE SetValue(LPCWSTR value) override {
    return Answer([&](const Context& c) -> HRESULT {
      if (id_.kind != Kind::Editor) return uia::invalidOperation;
      const std::u16string text = value ? std::u16string(reinterpret_cast<const char16_t*>(value)) : std::u16string();
      c.view.ReplaceEditorText(0, static_cast<int>(c.view.EditorText().size()), text);
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE get_Value(BSTR* out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    return Answer([&](const Context& c) {
      const std::u16string text = Value(c, id_).value_or(std::u16string());
      *out = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()));
      return *out ? S_OK : E_OUTOFMEMORY;
    });
  }
  HRESULT STDMETHODCALLTYPE get_IsReadOnly(BOOL* out) override { return Boolean(out, id_.kind != Kind::Editor); }

  // Invoke: a press, once this call has returned, since it may close the window.
  HRESULT STDMETHODCALLTYPE Invoke() override {
    return Answer([&](const Context&) {
      PostMessageW(window_, accessiblePressMessage, static_cast<WPARAM>(id_.col), 0);
      return S_OK;
    });
  }

  // Grid and Table: the task rows; the column titles are the column headers.
  HRESULT STDMETHODCALLTYPE GetItem(int row, int column, IRawElementProviderSimple** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    return Answer([&](const Context& c) -> HRESULT {
      const PartId cell{Kind::Cell, column, row + 1};
      if (row < 0 || !Exists(c, cell)) return E_INVALIDARG;
      *out = New(cell);
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE get_RowCount(int* out) override {
    return Count(out, [](const Context& c) { return c.view.RowCount() - 1; });
  }
  HRESULT STDMETHODCALLTYPE get_ColumnCount(int* out) override {
    return Count(out, [](const Context& c) { return c.view.ColumnCount(); });
  }
  HRESULT STDMETHODCALLTYPE GetRowHeaders(SAFEARRAY** out) override { return NoHeaders(out); }
  HRESULT STDMETHODCALLTYPE GetColumnHeaders(SAFEARRAY** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    return Answer([&](const Context& c) {
      std::vector<PartId> titles;
      for (int col = 0; col < c.view.ColumnCount(); ++col) titles.push_back({Kind::Cell, col, 0});
      return Elements(titles, out);
    });
  }
  HRESULT STDMETHODCALLTYPE get_RowOrColumnMajor(int* out) override {
    if (!out) return E_POINTER;
    *out = 0;
    return S_OK;
  }

  // GridItem, TableItem and SelectionItem: a task's cell.
  HRESULT STDMETHODCALLTYPE get_Row(int* out) override { return Number(out, id_.row - 1); }
  HRESULT STDMETHODCALLTYPE get_Column(int* out) override { return Number(out, id_.col); }
  HRESULT STDMETHODCALLTYPE get_RowSpan(int* out) override { return Number(out, 1); }
  HRESULT STDMETHODCALLTYPE get_ColumnSpan(int* out) override { return Number(out, 1); }
  HRESULT STDMETHODCALLTYPE get_ContainingGrid(IRawElementProviderSimple** out) override { return Table(out); }
  HRESULT STDMETHODCALLTYPE GetRowHeaderItems(SAFEARRAY** out) override { return NoHeaders(out); }
  HRESULT STDMETHODCALLTYPE GetColumnHeaderItems(SAFEARRAY** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    return Answer([&](const Context&) { return Elements({PartId{Kind::Cell, id_.col, 0}}, out); });
  }
  HRESULT STDMETHODCALLTYPE Select() override {
    return Answer([&](const Context& c) {
      if (id_.kind == Kind::Cell) c.view.SelectCell(id_.col, id_.row);
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE AddToSelection() override { return Select(); }
  HRESULT STDMETHODCALLTYPE RemoveFromSelection() override { return uia::invalidOperation; }
  HRESULT STDMETHODCALLTYPE get_IsSelected(BOOL* out) override {
    if (!out) return E_POINTER;
    *out = FALSE;
    return Answer([&](const Context& c) {
      *out = c.view.CurrentCol() == id_.col && c.view.CurrentRow() == id_.row;
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE get_SelectionContainer(IRawElementProviderSimple** out) override { return Table(out); }

  // Selection: the table's one current cell.
  HRESULT STDMETHODCALLTYPE GetSelection(SAFEARRAY** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    return Answer([&](const Context& c) {
      const PartId current{Kind::Cell, c.view.CurrentCol(), c.view.CurrentRow()};
      return Elements(TaskCell(current) && Exists(c, current) ? std::vector<PartId>{current} : std::vector<PartId>{}, out);
    });
  }
  HRESULT STDMETHODCALLTYPE get_CanSelectMultiple(BOOL* out) override { return Boolean(out, false); }
  HRESULT STDMETHODCALLTYPE get_IsSelectionRequired(BOOL* out) override { return Boolean(out, true); }

 private:
  ~Element() = default;

  void* Cast(REFIID iid) {
    if (iid == IID_IUnknown || iid == IID_IRawElementProviderSimple) return static_cast<IRawElementProviderSimple*>(this);
    if (iid == IID_IRawElementProviderFragment) return static_cast<IRawElementProviderFragment*>(this);
    if (iid == IID_IRawElementProviderFragmentRoot && id_.kind == Kind::Client) {
      return static_cast<IRawElementProviderFragmentRoot*>(this);
    }
    if (!Offers(id_, iid)) return nullptr;
    if (iid == uia::valueProviderId) return static_cast<uia::ValueProvider*>(this);
    if (iid == uia::invokeProviderId) return static_cast<uia::InvokeProvider*>(this);
    if (iid == uia::gridProviderId) return static_cast<uia::GridProvider*>(this);
    if (iid == uia::gridItemProviderId) return static_cast<uia::GridItemProvider*>(this);
    if (iid == uia::tableProviderId) return static_cast<uia::TableProvider*>(this);
    if (iid == uia::tableItemProviderId) return static_cast<uia::TableItemProvider*>(this);
    if (iid == uia::selectionProviderId) return static_cast<uia::SelectionProvider*>(this);
    return static_cast<uia::SelectionItemProvider*>(this);
  }

  Element* New(const PartId& p) const { return new Element(window_, p); }

  HRESULT Property(const Context& c, PROPERTYID id, VARIANT* out) const {
    switch (id) {
      case uia::controlTypeProperty:
        out->vt = VT_I4;
        out->lVal = ControlType(id_);
        return S_OK;
      case uia::nameProperty: return Text(Name(c, id_), out);
      case uia::helpTextProperty:
      case uia::itemStatusProperty: {
        const std::u16string description = Description(c, id_);
        return description.empty() ? S_OK : Text(description, out);
      }
      case uia::hasKeyboardFocusProperty: return Flag(FocusedPart(c) == id_, out);
      case uia::isKeyboardFocusableProperty:
        return Flag(id_.kind == Kind::Client || TaskCell(id_) || id_.kind == Kind::Editor, out);
      case uia::isEnabledProperty: return Flag(c.view.TakesInput(), out);
      case uia::isOffscreenProperty: return Flag(id_.kind != Kind::Client && Bounds(c, id_).Height() <= 0, out);
      case uia::valueValueProperty: {
        const std::optional<std::u16string> value = Value(c, id_);
        return value ? Text(*value, out) : S_OK;
      }
      default: return S_OK;
    }
  }

  // Every call reads the window as it is now; a part that went answers so.
  template <typename Body>
  HRESULT Answer(Body&& body) const {
    try {
      Win32State* state = LiveState(window_);
      if (!state) return uia::elementNotAvailable;
      const Context c{window_, *state, state->form->Accessible};
      if (!Exists(c, id_)) return uia::elementNotAvailable;
      return body(c);
    } catch (...) {
      return E_FAIL;
    }
  }

  template <typename Read>
  HRESULT Count(int* out, Read&& read) const {
    if (!out) return E_POINTER;
    *out = 0;
    return Answer([&](const Context& c) {
      *out = read(c);
      return S_OK;
    });
  }
  static HRESULT Boolean(BOOL* out, bool flag) {
    if (!out) return E_POINTER;
    *out = flag ? TRUE : FALSE;
    return S_OK;
  }
  static HRESULT Number(int* out, int number) {
    if (!out) return E_POINTER;
    *out = number;
    return S_OK;
  }
  static HRESULT NoHeaders(SAFEARRAY** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    return S_OK;
  }
  HRESULT Table(IRawElementProviderSimple** out) const {
    if (!out) return E_POINTER;
    *out = nullptr;
    return Answer([&](const Context&) {
      *out = New(PartId{Kind::Table});
      return S_OK;
    });
  }
  static HRESULT Integers(const int* values, int count, SAFEARRAY** out) {
    *out = SafeArrayCreateVector(VT_I4, 0, static_cast<ULONG>(count));
    if (!*out) return E_OUTOFMEMORY;
    for (LONG i = 0; i < count; ++i) SafeArrayPutElement(*out, &i, const_cast<int*>(&values[i]));
    return S_OK;
  }
  HRESULT Elements(const std::vector<PartId>& parts, SAFEARRAY** out) const {
    *out = SafeArrayCreateVector(VT_UNKNOWN, 0, static_cast<ULONG>(parts.size()));
    if (!*out) return E_OUTOFMEMORY;
    for (LONG i = 0; i < static_cast<LONG>(parts.size()); ++i) {
      IRawElementProviderSimple* element = New(parts[static_cast<std::size_t>(i)]);
      SafeArrayPutElement(*out, &i, static_cast<IUnknown*>(element));  // takes its own reference
      element->Release();
    }
    return S_OK;
  }

  ReferenceCount references_;
  HWND window_;
  PartId id_;
};

}  // namespace

LRESULT AnswerUiaRoot(HWND window, WPARAM wParam, LPARAM lParam) {
  if (!Functions().returnProvider) return DefWindowProcW(window, WM_GETOBJECT, wParam, lParam);
  Element* root = new Element(window, PartId{Kind::Client});
  const LRESULT answer = Functions().returnProvider(window, wParam, lParam, root);
  root->Release();
  return answer;
}

void RaiseUiaFocus(HWND window, const PartId& part) {
  if (!Listening() || !Functions().raiseEvent) return;
  Element* element = new Element(window, part);
  Functions().raiseEvent(element, uia::focusChangedEvent);
  element->Release();
}

void RaiseUiaValue(HWND window, const PartId& part, const std::u16string& value) {
  if (!Listening() || !Functions().raiseProperty) return;
  Element* element = new Element(window, part);
  VARIANT before;
  VariantInit(&before);
  VARIANT after;
  VariantInit(&after);
  Text(value, &after);
  Functions().raiseProperty(element, uia::valueValueProperty, before, after);
  if (part.kind == Kind::Cell) Functions().raiseProperty(element, uia::nameProperty, before, after);
  VariantClear(&after);
  element->Release();
}

// The table's children are void: rows and columns came or went, or the window folded.
void RaiseUiaStructure(HWND window) {
  if (!Listening() || !Functions().raiseStructure) return;
  Element* root = new Element(window, PartId{Kind::Client});
  Functions().raiseStructure(root, 2 /* StructureChangeType_ChildrenInvalidated */, nullptr, 0);
  root->Release();
}

void EndUia(HWND window) {
  if (Functions().returnProvider) Functions().returnProvider(window, 0, 0, nullptr);
}

}  // namespace tasklane::win32
