#pragma once
// What a drawn control tells assistive technology (screen readers and the
// like): an IAccessible object for the control's client area, handed out
// through WM_GETOBJECT. The window answers where the control is, whether it
// is visible, enabled and focused; the control answers the rest through
// AccessibleFacts, asked afresh at every call so the answers follow the
// control.

#include <windows.h>
#include <oleacc.h>

#include <string>

#include "base/win/com.h"

namespace pellion::win {

class AccessibleFacts {
  public:
    // ROLE_SYSTEM_*.
    virtual long AccessibleRole() const = 0;
    // Texts as UTF-8; empty when the control has none.
    virtual std::string AccessibleName() const { return std::string(); }
    virtual std::string AccessibleValue() const { return std::string(); }
    virtual std::string AccessibleShortcut() const { return std::string(); }
    // The name of the default action ("Press"); empty: the control has none.
    virtual std::string AccessibleAction() const { return std::string(); }
    // STATE_SYSTEM_* flags only the control knows (hot, pressed, read-only).
    virtual long AccessibleState() const { return 0; }
    // Starts the default action. Called inside a client's COM call: whatever
    // may show a window or destroy the control must be posted, not run.
    virtual void DoAccessibleAction() {}

  protected:
    ~AccessibleFacts() = default;
};

class AccessibleObject;

// The control's one accessible object: made at the first request, handed
// out again for every later one, and cut off from the control when the
// window or the control goes. A client may hold it longer; every call then
// fails with RPC_E_DISCONNECTED.
class AccessibleHost {
  public:
    explicit AccessibleHost(AccessibleFacts& facts);
    ~AccessibleHost();
    AccessibleHost(const AccessibleHost&) = delete;
    AccessibleHost& operator=(const AccessibleHost&) = delete;

    // Answers WM_GETOBJECT for OBJID_CLIENT and disconnects at WM_NCDESTROY.
    // True, with `result` set, when the message needs no other handling.
    bool HandleMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    void Disconnect();

  private:
    AccessibleFacts& facts_;
    ComPtr<AccessibleObject> object_;
};

// Tells listeners that the control's client object changed (an
// EVENT_OBJECT_* event: NAMECHANGE, STATECHANGE, VALUECHANGE).
void NotifyAccessibleEvent(HWND hwnd, DWORD event);

}  // namespace pellion::win
