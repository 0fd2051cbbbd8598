// Procedures handed to the system and functions of libraries loaded at run time, passed by their
// type: on 32 bits everything the system calls back is __stdcall, and a procedure of another
// convention is then a compile error instead of a cast that hides it until it is called.
#pragma once

#include <windows.h>

namespace winapp {

// The value SetWindowLongPtr takes for GWLP_WNDPROC.
inline LONG_PTR ProcedureValue(WNDPROC procedure) {
    return reinterpret_cast<LONG_PTR>(procedure);
}

// A function of a library loaded at run time, or null where the library lacks it. Name the
// platform's own declaration as the type (LoadedFunction<decltype(::GradientFill)>), so that the
// calling convention is the one the library was built with.
template <class Function>
Function* LoadedFunction(HMODULE library, const char* name) {
    if (library == nullptr)
        return nullptr;
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace winapp
