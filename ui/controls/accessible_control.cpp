#include "ui/controls/accessible_control.h"

#include "base/win/application.h"
#include "base/win/dll_search.h"
#include "base/win/optional_api.h"
#include "base/win/system_api.h"
#include "base/win/wide.h"
#include "base/win/window.h"

namespace pellion::win {

namespace {

// oleacc.dll is not one of the known DLLs that Windows always takes from the
// system folder, so it is not imported (a copy planted next to the installer
// would be loaded instead): it is loaded from there at the first request of
// assistive technology, and stays loaded, as objects it marshalled may live
// on in clients.
struct OleAcc {
    LPFNLRESULTFROMOBJECT lresultFromObject = nullptr;
    LPFNACCESSIBLEOBJECTFROMWINDOW objectFromWindow = nullptr;
};

const OleAcc& OleAccFunctions() {
    static const OleAcc api = [] {
        HMODULE module = LoadSystemLibrary(L"oleacc.dll");
        return OleAcc{
            OptionalProc<LPFNLRESULTFROMOBJECT>(module, "LresultFromObject"),
            OptionalProc<LPFNACCESSIBLEOBJECTFROMWINDOW>(module, "AccessibleObjectFromWindow")};
    }();
    return api;
}

// The object of `hwnd` for objectId (OBJID_*), as a client gets it.
HRESULT AccessibleObjectOfWindow(HWND hwnd, LONG objectId, REFIID iid, void** out) {
    LPFNACCESSIBLEOBJECTFROMWINDOW fromWindow = OleAccFunctions().objectFromWindow;
    if (!fromWindow) return HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND);
    return fromWindow(hwnd, DWORD(objectId), iid, out);
}

// The control has no children: CHILDID_SELF is the only id it knows.
bool IsSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

void SetLong(VARIANT* out, long value) {
    out->vt = VT_I4;
    out->lVal = value;
}

}  // namespace

class AccessibleObject final : public IAccessible {
  public:
    AccessibleObject(HWND hwnd, AccessibleFacts& facts) : hwnd_(hwnd), facts_(&facts) {}
    void Disconnect() {
        facts_ = nullptr;
        hwnd_ = nullptr;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (iid != IID_IUnknown && iid != IID_IDispatch && iid != IID_IAccessible)
            return E_NOINTERFACE;
        *out = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(::InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        LONG left = ::InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return ULONG(left);
    }

    // Clients call IAccessible's members directly; no type information.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count) *count = 0;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info) *info = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (!parent) return E_INVALIDARG;
        *parent = nullptr;
        if (!facts_) return RPC_E_DISCONNECTED;
        // The window's own object, which the system makes.
        return AccessibleObjectOfWindow(hwnd_, OBJID_WINDOW, IID_IDispatch,
                                        reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        if (!count) return E_INVALIDARG;
        *count = 0;
        return facts_ ? S_OK : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch** child) override {
        if (!child) return E_INVALIDARG;
        *child = nullptr;
        return facts_ ? E_INVALIDARG : RPC_E_DISCONNECTED;
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* out) override {
        return Text(child, out, &AccessibleFacts::AccessibleName, S_FALSE);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* out) override {
        return Text(child, out, &AccessibleFacts::AccessibleValue, DISP_E_MEMBERNOTFOUND);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) override {
        return Text(child, out, nullptr, DISP_E_MEMBERNOTFOUND);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* out) override {
        return Text(child, out, nullptr, DISP_E_MEMBERNOTFOUND);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* out) override {
        return Text(child, out, &AccessibleFacts::AccessibleShortcut, S_FALSE);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* out) override {
        return Text(child, out, &AccessibleFacts::AccessibleAction, S_FALSE);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        if (topic) *topic = 0;
        return Text(child, file, nullptr, DISP_E_MEMBERNOTFOUND);
    }

    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* out) override {
        HRESULT hr = Prepare(child, out);
        if (SUCCEEDED(hr)) SetLong(out, facts_->AccessibleRole());
        return hr;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* out) override {
        HRESULT hr = Prepare(child, out);
        if (SUCCEEDED(hr)) SetLong(out, State());
        return hr;
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) override {
        HRESULT hr = Prepare(Self(), out);
        if (FAILED(hr)) return hr;
        if (::GetFocus() != hwnd_) return S_FALSE;  // VT_EMPTY: not focused
        SetLong(out, CHILDID_SELF);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) override {
        HRESULT hr = Prepare(Self(), out);
        return FAILED(hr) ? hr : DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG, VARIANT child) override {
        HRESULT hr = Check(child);
        return FAILED(hr) ? hr : DISP_E_MEMBERNOTFOUND;
    }
    // Moving to siblings is the parent window object's business.
    HRESULT STDMETHODCALLTYPE accNavigate(LONG, VARIANT start, VARIANT* out) override {
        HRESULT hr = Prepare(start, out);
        return FAILED(hr) ? hr : DISP_E_MEMBERNOTFOUND;
    }

    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override {
        if (!left || !top || !width || !height) return E_INVALIDARG;
        *left = *top = *width = *height = 0;
        HRESULT hr = Check(child);
        if (FAILED(hr)) return hr;
        RECT r{};
        if (!::GetWindowRect(hwnd_, &r)) return HRESULT_FROM_WIN32(::GetLastError());
        *left = r.left, *top = r.top, *width = r.right - r.left, *height = r.bottom - r.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* out) override {
        HRESULT hr = Prepare(Self(), out);
        if (FAILED(hr)) return hr;
        RECT r{};
        if (!::GetWindowRect(hwnd_, &r) || !::PtInRect(&r, POINT{x, y})) return S_FALSE;
        SetLong(out, CHILDID_SELF);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        HRESULT hr = Check(child);
        if (FAILED(hr)) return hr;
        if (facts_->AccessibleAction().empty()) return DISP_E_MEMBERNOTFOUND;
        facts_->DoAccessibleAction();
        return S_OK;
    }

    // Deprecated setters that no client relies on.
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

  private:
    using TextFact = std::string (AccessibleFacts::*)() const;

    static VARIANT Self() {
        VARIANT self;
        SetLong(&self, CHILDID_SELF);
        return self;
    }
    // S_OK while the control exists and `child` names it.
    HRESULT Check(const VARIANT& child) const {
        if (!facts_) return RPC_E_DISCONNECTED;
        return IsSelf(child) ? S_OK : E_INVALIDARG;
    }
    // Empties `out` first, so that no failure leaves anything in it.
    HRESULT Prepare(const VARIANT& child, VARIANT* out) const {
        if (!out) return E_INVALIDARG;
        out->vt = VT_EMPTY;  // all that VariantInit does
        return Check(child);
    }
    // A text fact as a new BSTR; `absent` when the control has none or the
    // fact is one no control has (null `fact`).
    HRESULT Text(const VARIANT& child, BSTR* out, TextFact fact, HRESULT absent) const {
        if (!out) return E_INVALIDARG;
        *out = nullptr;
        HRESULT hr = Check(child);
        if (FAILED(hr)) return hr;
        std::wstring text = fact ? Widen((facts_->*fact)()) : std::wstring();
        if (text.empty()) return absent;
        *out = lazy::SysAllocStringLen(text.data(), UINT(text.size()));
        return *out ? S_OK : E_OUTOFMEMORY;
    }
    long State() const {
        long state = facts_->AccessibleState();
        if (!::IsWindowVisible(hwnd_)) state |= STATE_SYSTEM_INVISIBLE;
        if (!win::AcceptsInput(hwnd_))
            state |= STATE_SYSTEM_UNAVAILABLE;
        else if (::GetWindowLongW(hwnd_, GWL_STYLE) & WS_TABSTOP)
            state |= STATE_SYSTEM_FOCUSABLE;
        if (::GetFocus() == hwnd_) state |= STATE_SYSTEM_FOCUSED;
        return state;
    }

    LONG refs_ = 1;
    HWND hwnd_;
    AccessibleFacts* facts_;
};

AccessibleHost::AccessibleHost(AccessibleFacts& facts) : facts_(facts) {}

AccessibleHost::~AccessibleHost() {
    Disconnect();
}

bool AccessibleHost::HandleMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg == WM_NCDESTROY) {
        Disconnect();
        return false;
    }
    // Only the client area is the control's to describe: the frame and every
    // other object id get the system's answer. The id is a 32-bit LONG,
    // which may reach a 64-bit window zero-extended in lParam.
    if (msg != WM_GETOBJECT || static_cast<LONG>(lp) != OBJID_CLIENT) return false;
    LPFNLRESULTFROMOBJECT lresultFromObject = OleAccFunctions().lresultFromObject;
    if (!lresultFromObject) return false;
    // Marshalling the object for the client needs COM on this thread.
    Application::Instance().EnsureCom();
    if (!object_) *object_.Put() = new AccessibleObject(hwnd, facts_);
    // LresultFromObject takes a reference of its own for the client.
    result = lresultFromObject(IID_IAccessible, wp, object_.Get());
    return true;
}

void AccessibleHost::Disconnect() {
    if (!object_) return;
    object_->Disconnect();
    // Drops the references COM keeps for clients in other processes and for
    // answers no client collected: their proxies then report the object gone.
    lazy::CoDisconnectObject(object_.Get(), 0);
    object_.Reset();
}

void NotifyAccessibleEvent(HWND hwnd, DWORD event) {
    if (hwnd) ::NotifyWinEvent(event, hwnd, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace pellion::win
