#pragma once
// The one window procedure of every window and dialog of the program. It binds the
// object that runs a window to its handle when the window is made, lets go of it
// when the window is gone, and catches whatever a handler throws: an exception that
// unwinds through the system's own frames ends the process on x64 Windows. A handler
// that throws has ended its work there; the window lives on.
//
// The class T lets the trampoline call (a friend declaration will do):
//   void Attach(HWND hwnd);  // its handle once bound, nullptr once the window is gone
//   LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
// where a dialog's HandleMessage answers as a dialog procedure does.

#include <windows.h>

template <typename T> class Trampoline {
public:
    // For a window created with the object as its creation parameter.
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE)
            Bind(hwnd, GWLP_USERDATA, reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        T* self = reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (!self)
            return DefWindowProcW(hwnd, message, wParam, lParam);
        LRESULT result = 0;
        try {
            result = self->HandleMessage(message, wParam, lParam);
        } catch (...) {
            result = message == WM_CREATE ? -1 : 0; // a window that failed to load is not made
        }
        if (message == WM_NCDESTROY)
            Unbind(hwnd, GWLP_USERDATA, self);
        return result;
    }

    // For a dialog created with the object as its initialization parameter.
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INITDIALOG)
            Bind(hwnd, DWLP_USER, reinterpret_cast<void*>(lParam));
        T* self = reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, DWLP_USER));
        if (!self)
            return FALSE;
        INT_PTR result = FALSE;
        try {
            result = self->HandleMessage(message, wParam, lParam);
        } catch (...) {
            if (message == WM_INITDIALOG)
                EndDialog(hwnd, -1); // half a dialog is of no use
        }
        if (message == WM_NCDESTROY)
            Unbind(hwnd, DWLP_USER, self);
        return result;
    }

private:
    static void Bind(HWND hwnd, int slot, void* object) {
        SetWindowLongPtrW(hwnd, slot, reinterpret_cast<LONG_PTR>(object));
        static_cast<T*>(object)->Attach(hwnd);
    }
    static void Unbind(HWND hwnd, int slot, T* self) {
        SetWindowLongPtrW(hwnd, slot, 0);
        self->Attach(nullptr);
    }
};
