// The probe's UI Automation client: the flat client functions of uiautomationcore.dll, looked
// up by name (MinGW-w64 declares none of them), reading the window's tree from another process.
#include "win32_probe_reader.h"

#include <oleauto.h>

#include <cstdio>
#include <string>

namespace {

using Node = void*;
struct Condition {
  int type = 0;  // ConditionType_True
};
struct CacheRequest {
  Condition* view = nullptr;
  int scope = 1;  // TreeScope_Element
  int* properties = nullptr;
  int propertyCount = 0;
  int* patterns = nullptr;
  int patternCount = 0;
  int mode = 1;  // AutomationElementMode_Full
};

struct Client {
  HRESULT(WINAPI* fromHandle)(HWND, Node*) = nullptr;
  HRESULT(WINAPI* property)(Node, int, VARIANT*) = nullptr;
  HRESULT(WINAPI* navigate)(Node, int, Condition*, CacheRequest*, SAFEARRAY**, BSTR*) = nullptr;
  HRESULT(WINAPI* fromVariant)(VARIANT*, Node*) = nullptr;
  BOOL(WINAPI* release)(Node) = nullptr;
};

template <typename Function>
bool Find(HMODULE module, const char* name, Function& function) {
  function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  return function != nullptr;
}

bool Load(Client& client) {
  HMODULE module = LoadLibraryW(L"uiautomationcore.dll");
  return module && Find(module, "UiaNodeFromHandle", client.fromHandle) &&
         Find(module, "UiaGetPropertyValue", client.property) && Find(module, "UiaNavigate", client.navigate) &&
         Find(module, "UiaHUiaNodeFromVariant", client.fromVariant) && Find(module, "UiaNodeRelease", client.release);
}

std::string Utf8(const wchar_t* text, int length) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, length, bytes.data(), size, nullptr, nullptr);
  return bytes;
}

// "type [name]", as a reader speaks an element.
std::string Spoken(const Client& client, Node node) {
  VARIANT v;
  VariantInit(&v);
  client.property(node, 30003 /* ControlType */, &v);
  std::string line = std::to_string(v.vt == VT_I4 ? v.lVal : 0);
  VariantClear(&v);
  client.property(node, 30005 /* Name */, &v);
  if (v.vt == VT_BSTR) line += " [" + Utf8(v.bstrVal, static_cast<int>(SysStringLen(v.bstrVal))) + "]";
  VariantClear(&v);
  return line;
}

// The element that way from `node`, or nullptr.
Node Step(const Client& client, Node node, int direction) {
  Condition all;
  CacheRequest request;
  request.view = &all;
  SAFEARRAY* data = nullptr;
  BSTR tree = nullptr;
  if (FAILED(client.navigate(node, direction, &all, &request, &data, &tree)) || !data) return nullptr;
  SysFreeString(tree);
  Node found = nullptr;
  VARIANT element;
  VariantInit(&element);
  LONG at[2] = {0, 0};
  if (SUCCEEDED(SafeArrayGetElement(data, at, &element))) client.fromVariant(&element, &found);
  VariantClear(&element);
  SafeArrayDestroy(data);
  return found;
}

void Walk(const Client& client, Node node, int depth) {
  std::printf("%*s%s\n", depth * 2, "", Spoken(client, node).c_str());
  if (depth == 3) return;
  for (Node child = Step(client, node, 3 /* FirstChild */); child;) {
    Walk(client, child, depth + 1);
    Node next = Step(client, child, 1 /* NextSibling */);
    client.release(child);
    child = next;
  }
}

}  // namespace

int ReadAutomation(HWND window) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  Client client;
  Node root = nullptr;
  const bool read = window && Load(client) && SUCCEEDED(client.fromHandle(window, &root)) && root;
  if (read) {
    Walk(client, root, 0);
    client.release(root);
  }
  std::fflush(stdout);
  CoUninitialize();
  return read ? 0 : 1;
}
