#pragma once
// System DLLs that the welcome page does not need (the shell, COM, OLE
// automation, the common controls) are not imported: each is loaded the
// first time one of its functions is called, and each function is looked up
// once. A DLL or function that is missing raises EOSError naming it, where
// an import would have kept the program from starting at all.
//
// The start-up pays for what it uses: under Wine, loading the shell and COM
// with their own dependencies took a good part of the time before the first
// window.

#include <windows.h>

namespace pellion::win {

class LazyLibrary {
  public:
    // Where the DLL comes from: the system folder, or the side-by-side
    // assembly the manifest names (LoadSideBySideLibrary).
    enum class From { kSystemFolder, kSideBySide };

    explicit constexpr LazyLibrary(const wchar_t* name, From from = From::kSystemFolder)
        : name_(name), from_(from) {}
    LazyLibrary(const LazyLibrary&) = delete;
    LazyLibrary& operator=(const LazyLibrary&) = delete;

    // The module, loaded from the system folder at the first call; a load
    // that failed is not tried again. Raises EOSError "Cannot load <name>:
    // <reason>".
    HMODULE Module();
    // The address of `function`. Raises EOSError "<name> has no function
    // <function>." when the DLL lacks it.
    FARPROC Function(const char* function);

    const wchar_t* Name() const { return name_; }
    bool Loaded() const { return module_ != nullptr; }
    // How many times the DLL was asked to load (at most once).
    int LoadAttempts() const { return attempts_; }

  private:
    const wchar_t* name_;
    From from_;
    HMODULE module_ = nullptr;
    DWORD error_ = 0;
    int attempts_ = 0;
};

// One function of a LazyLibrary, looked up at its first call and kept. The
// callers are the GUI thread's; two threads racing would only look it up
// twice.
template <typename Fn>
class LazyFunction {
  public:
    constexpr LazyFunction(LazyLibrary& library, const char* name)
        : library_(library), name_(name) {}

    Fn Get() {
        if (!fn_) fn_ = reinterpret_cast<Fn>(reinterpret_cast<void*>(library_.Function(name_)));
        return fn_;
    }
    template <typename... Args>
    auto operator()(Args... args) {
        return Get()(args...);
    }

  private:
    LazyLibrary& library_;
    const char* name_;
    Fn fn_ = nullptr;
};

}  // namespace pellion::win
