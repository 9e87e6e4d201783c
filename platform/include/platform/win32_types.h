// Basic Win32 types shared by the window system's API and by programs that only need to name
// them (the EASEL header brings these for WinMain and EASEL_open without the whole API).
#pragma once

#include <cstdint>

#define WINAPI
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
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef void* LPVOID;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// Handles are opaque values that the window system looks up in its tables, so a stale or
// foreign handle is recognised and refused instead of being dereferenced.
#define DECLARE_HANDLE(name) \
  struct name##__;           \
  typedef struct name##__* name
DECLARE_HANDLE(HINSTANCE);
DECLARE_HANDLE(HWND);
DECLARE_HANDLE(HDC);
DECLARE_HANDLE(HMENU);
DECLARE_HANDLE(HICON);
DECLARE_HANDLE(HGLOBAL);
DECLARE_HANDLE(HRGN);
DECLARE_HANDLE(HGDIOBJ);
typedef HGDIOBJ HPEN;
typedef HGDIOBJ HBRUSH;
typedef HGDIOBJ HFONT;
typedef HGDIOBJ HBITMAP;
typedef HICON HCURSOR;
#undef DECLARE_HANDLE

typedef HINSTANCE HMODULE;
