// Basic Win32 types of the window system's API.
#pragma once

#include <cstdint>

// The entry point's names, defined the same way under the same guard by the EASEL header, so a
// file may include both in either order.
#ifndef EASEL_WIN32_ENTRY_TYPES
#define EASEL_WIN32_ENTRY_TYPES
#define WINAPI
struct HINSTANCE__;
typedef struct HINSTANCE__* HINSTANCE;
typedef char* LPSTR;
#endif

#define CALLBACK
#define APIENTRY

typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef unsigned int UINT;
typedef uintptr_t UINT_PTR;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef WORD ATOM;
typedef DWORD COLORREF;
typedef char CHAR;
typedef const char* LPCSTR;
typedef void* LPVOID;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// Handles are opaque values that the window system looks up in its tables, so a stale or
// foreign handle is recognised and refused instead of being dereferenced. Their types are as
// strict as Win32's own (<windows.h> with STRICT): each kind of handle is a type of its own, so
// a window is no DC; a pen, brush, font or bitmap converts to HGDIOBJ, but an HGDIOBJ (what
// GetStockObject and SelectObject return) becomes one of them only through a cast. Code that
// builds here builds against <windows.h>.
typedef void* HANDLE;
#define DECLARE_HANDLE(name) \
  struct name##__;           \
  typedef struct name##__* name
DECLARE_HANDLE(HWND);
DECLARE_HANDLE(HDC);
DECLARE_HANDLE(HMENU);
DECLARE_HANDLE(HICON);
DECLARE_HANDLE(HRGN);
DECLARE_HANDLE(HPEN);
DECLARE_HANDLE(HBRUSH);
DECLARE_HANDLE(HFONT);
DECLARE_HANDLE(HBITMAP);
#undef DECLARE_HANDLE
typedef void* HGDIOBJ;
typedef HANDLE HGLOBAL;
typedef HICON HCURSOR;

typedef HINSTANCE HMODULE;
