#include "base/win/lazy_library.h"

#include "base/errors.h"
#include "base/text.h"
#include "base/win/dll_search.h"
#include "base/win/wide.h"
#include "base/win/win_error.h"

namespace pellion::win {

HMODULE LazyLibrary::Module() {
    if (!module_ && attempts_ == 0) {
        ++attempts_;
        module_ = from_ == From::kSideBySide ? LoadSideBySideLibrary(name_)
                                             : LoadSystemLibrary(name_);
        if (!module_) error_ = ::GetLastError();
    }
    if (!module_)
        throw EOSError(Format("Cannot load %s: %s", Narrow(name_).c_str(),
                              SystemMessage(error_).c_str()),
                       error_);
    return module_;
}

FARPROC LazyLibrary::Function(const char* function) {
    FARPROC address = ::GetProcAddress(Module(), function);
    if (!address)
        throw EOSError(Format("%s has no function %s.", Narrow(name_).c_str(), function),
                       ERROR_PROC_NOT_FOUND);
    return address;
}

}  // namespace pellion::win
