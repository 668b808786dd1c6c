// The probe's screen reader: it reads the program's window through MSAA from another process,
// as Narrator's and NVDA's MSAA support does.
#pragma once

#include <windows.h>

// Prints the window's parts, a line each, and the focus; 1 when the window has no object.
int ReadAloud(HWND window);
// Prints the part at a point of the screen, and where it lies.
int HitTest(HWND window, int x, int y);
// Prints each focus, name and value change of the window for `seconds` seconds.
int ListenToEvents(HWND window, int seconds);
// Prints the window's UI Automation tree, an element a line, indented by its depth: its
// control type's number and its name.
int ReadAutomation(HWND window);
// Presses the button or follows the link named `name`; 1 when there is none.
int PressButton(HWND window, const wchar_t* name);
