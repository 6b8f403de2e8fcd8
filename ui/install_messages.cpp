#include "ui/install_messages.h"

#include "ui/dialogs/dialogs.h"

namespace pellion {

namespace {

constexpr int kYes = 6;

class DialogInstallMessages : public InstallMessages {
  public:
    void Tell(const std::string& text) override { ShowMessage(text); }
    void TellTitled(const std::string& title, const std::string& text) override {
        ShowMessageTitled(title, text);
    }
    bool AskYesNo(const std::string& question) override {
        return MessageDialog(question, mtWarning, Buttons({mbYes, mbNo}), 0) == kYes;
    }
};

}  // namespace

InstallMessages& DialogMessages() {
    static DialogInstallMessages messages;
    return messages;
}

}  // namespace pellion
