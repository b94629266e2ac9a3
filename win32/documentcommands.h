#pragma once

// What the requests of a panel's commands do in this front end: put the document on the
// clipboard, save it where the user says, print it on the printer the user picks. Each shows
// its own failure in an error box over `owner`; a cancelled dialog does nothing. The text is
// drawn in `face`, the window's.

#include "common/panel.h"

#include <windows.h>

namespace korvane::win32 {

void carryOut(HWND owner, const CommandRequest &request, std::u16string_view face);

// The clipboard gets the job line as text, the picture as a bitmap and the same as vector
// graphics, the picture's lines one pixel wide at any zoom.
void copyDocument(HWND owner, const Document &document, std::u16string_view face);

// A save dialog offering the types of the request this front end writes; the file is then
// written whole or not at all.
void saveDocument(HWND owner, const SaveRequest &request, std::u16string_view face);

// The print dialog, then one page: the job line above the sheet.
void printDocument(HWND owner, const Document &document, std::u16string_view face);

// The error box: `message`, the stop icon and OK, under the error title.
void showError(HWND owner, std::u16string_view message);

} // namespace korvane::win32
