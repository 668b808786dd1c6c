// The probe's screen reader over MSAA.
#include "win32_probe_reader.h"

#include <oleacc.h>

#include <cstdio>
#include <string>

namespace {

// Releases a COM pointer at the end of its scope.
template <typename T>
struct Held {
  T* p = nullptr;
  ~Held() {
    if (p) p->Release();
  }
  T* operator->() const { return p; }
};

VARIANT Id(long id) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

VARIANT Self() { return Id(CHILDID_SELF); }

void Print(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
  std::printf("%s\n", bytes.c_str());
  std::fflush(stdout);
}

std::wstring Taken(BSTR text) {
  std::wstring taken = text ? std::wstring(text, SysStringLen(text)) : L"";
  SysFreeString(text);
  return taken;
}

std::wstring Name(IAccessible* part, VARIANT child) {
  BSTR name = nullptr;
  part->get_accName(child, &name);
  return Taken(name);
}

std::wstring Value(IAccessible* part, VARIANT child) {
  BSTR value = nullptr;
  part->get_accValue(child, &value);
  return Taken(value);
}

std::wstring Role(IAccessible* part, VARIANT child) {
  VARIANT role;
  VariantInit(&role);
  part->get_accRole(child, &role);
  switch (role.vt == VT_I4 ? role.lVal : 0) {
    case ROLE_SYSTEM_CLIENT: return L"client";
    case ROLE_SYSTEM_TABLE: return L"table";
    case ROLE_SYSTEM_ROW: return L"row";
    case ROLE_SYSTEM_COLUMNHEADER: return L"header";
    case ROLE_SYSTEM_CELL: return L"cell";
    case ROLE_SYSTEM_TEXT: return L"editor";
    case ROLE_SYSTEM_PUSHBUTTON: return L"button";
    case ROLE_SYSTEM_STATICTEXT: return L"text";
    case ROLE_SYSTEM_LINK: return L"link";
    default: return L"other";
  }
}

long State(IAccessible* part) {
  VARIANT state;
  VariantInit(&state);
  part->get_accState(Self(), &state);
  return state.vt == VT_I4 ? state.lVal : 0;
}

// "role [name] = value", the way a reader speaks a part.
std::wstring Spoken(IAccessible* part, VARIANT child) {
  std::wstring line = Role(part, child) + L" [" + Name(part, child) + L"]";
  const std::wstring value = Value(part, child);
  if (!value.empty()) line += L" = " + value;
  return line;
}

// The child at a position (from 1), as an object of its own; nullptr for a simple element,
// which its parent answers for.
IAccessible* Child(IAccessible* parent, long position) {
  IDispatch* dispatch = nullptr;
  if (parent->get_accChild(Id(position), &dispatch) != S_OK || !dispatch) return nullptr;
  IAccessible* child = nullptr;
  dispatch->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&child));
  dispatch->Release();
  return child;
}

long ChildCount(IAccessible* part) {
  long count = 0;
  part->get_accChildCount(&count);
  return count;
}

void ReadTable(IAccessible* table) {
  for (long r = 1; r <= ChildCount(table); ++r) {
    Held<IAccessible> row{Child(table, r)};
    if (!row.p) continue;
    std::wstring line = L"row " + std::to_wstring(r - 1) + L":";
    for (long c = 1; c <= ChildCount(row.p); ++c) {
      Held<IAccessible> cell{Child(row.p, c)};
      if (cell.p) line += L" " + Spoken(cell.p, Self());
    }
    Print(line);
  }
}

void ReadFocus(IAccessible* client) {
  VARIANT focus;
  VariantInit(&focus);
  client->get_accFocus(&focus);
  if (focus.vt == VT_DISPATCH && focus.pdispVal) {
    Held<IAccessible> focused;
    focus.pdispVal->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&focused.p));
    focus.pdispVal->Release();
    if (focused.p) Print(L"focus " + Spoken(focused.p, Self()));
  } else if (focus.vt == VT_I4) {
    Print(L"focus " + Spoken(client, focus));
  } else {
    Print(L"focus none");
  }
}

IAccessible* ClientOf(HWND window) {
  IAccessible* client = nullptr;
  if (!window || FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                                   reinterpret_cast<void**>(&client)))) {
    return nullptr;
  }
  return client;
}

struct Com {
  Com() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  ~Com() { CoUninitialize(); }
};

void CALLBACK Heard(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
  const wchar_t* what = event == EVENT_OBJECT_FOCUS       ? L"focus"
                        : event == EVENT_OBJECT_NAMECHANGE ? L"name"
                        : event == EVENT_OBJECT_VALUECHANGE ? L"value"
                                                            : nullptr;
  if (!what) return;
  Held<IAccessible> part;
  VARIANT id;
  VariantInit(&id);
  if (FAILED(AccessibleObjectFromEvent(window, static_cast<DWORD>(object), static_cast<DWORD>(child), &part.p, &id)) || !part.p) return;
  Print(std::wstring(what) + L" " + Spoken(part.p, id));
}

}  // namespace

int ReadAloud(HWND window) {
  Com com;
  Held<IAccessible> client{ClientOf(window)};
  if (!client.p) return 1;
  BSTR description = nullptr;
  client->get_accDescription(Self(), &description);
  Print(L"window [" + Name(client.p, Self()) + L"] " + Taken(description) +
        ((State(client.p) & STATE_SYSTEM_COLLAPSED) ? L" collapsed" : L" expanded"));
  for (long i = 1; i <= ChildCount(client.p); ++i) {
    Held<IAccessible> part{Child(client.p, i)};
    if (!part.p) {
      Print(Spoken(client.p, Id(i)));
    } else if (Role(part.p, Self()) == L"table") {
      Print(L"table of " + std::to_wstring(ChildCount(part.p)) + L" rows");
      ReadTable(part.p);
    } else {
      Print(Spoken(part.p, Self()));
    }
  }
  ReadFocus(client.p);
  return 0;
}

int HitTest(HWND window, int x, int y) {
  Com com;
  Held<IAccessible> client{ClientOf(window)};
  if (!client.p) return 1;
  VARIANT hit;
  VariantInit(&hit);
  client->accHitTest(x, y, &hit);
  if (hit.vt == VT_DISPATCH && hit.pdispVal) {
    Held<IAccessible> part;
    hit.pdispVal->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&part.p));
    hit.pdispVal->Release();
    if (!part.p) return 1;
    long left = 0, top = 0, width = 0, height = 0;
    part->accLocation(&left, &top, &width, &height, Self());
    Print(Spoken(part.p, Self()) + L" at " + std::to_wstring(left) + L" " + std::to_wstring(top) + L" " +
          std::to_wstring(width) + L" " + std::to_wstring(height));
    return 0;
  }
  Print(hit.vt == VT_I4 ? Spoken(client.p, hit) : L"nothing");
  return 0;
}

int ListenToEvents(HWND window, int seconds) {
  Com com;
  DWORD process = 0;
  if (!window || !GetWindowThreadProcessId(window, &process)) return 1;
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_VALUECHANGE, nullptr, Heard, process, 0,
                                       WINEVENT_OUTOFCONTEXT);
  if (!hook) return 1;
  Print(L"listening");
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds) * 1000;
  for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
  UnhookWinEvent(hook);
  return 0;
}

int PressButton(HWND window, const wchar_t* name) {
  Com com;
  Held<IAccessible> client{ClientOf(window)};
  if (!client.p) return 1;
  for (long i = 1; i <= ChildCount(client.p); ++i) {
    Held<IAccessible> part{Child(client.p, i)};
    IAccessible* owner = part.p ? part.p : client.p;
    const VARIANT id = part.p ? Self() : Id(i);
    const std::wstring role = Role(owner, id);
    if ((role == L"button" || role == L"link") && Name(owner, id) == name) {
      return owner->accDoDefaultAction(id) == S_OK ? 0 : 1;
    }
  }
  return 1;
}
