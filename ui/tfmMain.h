#pragma once
// The installer's main window: a fixed-size window that carries the
// taskbar button; closing it ends the program.

#include <windows.h>

#include "base/win/window.h"

namespace pellion {

class tMainForm : public win::Window {
  public:
    tMainForm();
    void Show();

  private:
    void FormCreate();
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

}  // namespace pellion
