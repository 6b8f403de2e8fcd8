#pragma once
// What the install run needs of the user interface: its progress window,
// in the order it uses it, and the messages and the one question it puts to
// the user. The progress window (ui/fmiProgress) and the message dialogs
// (ui/install_messages) implement them; the caller of the run hands them
// in, so install/ never depends on ui/ and tests can stand in for either.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace pellion {

class InstallProgress {
  public:
    virtual ~InstallProgress() = default;

    virtual void SetProgramName(const std::string& text) = 0;
    virtual void SetStage(const std::string& text) = 0;
    // Shows the window without blocking (not modal).
    virtual void Show() = 0;
    // Byte total of the run (shown unsigned): shows the bar and the counters
    // and starts them at zero.
    virtual void SetTotal(int32_t total) = 0;
    // Full path of the file about to be written; counts files.
    virtual void SetCurrentFile(const std::string& path) = 0;
    // Bytes written so far. Processes pending window messages when the value
    // changed: this is where Pause, Resume and Cancel take effect, so the run
    // may stay suspended inside this call while the user has paused.
    virtual void SetPosition(int32_t position) = 0;
    // Handles the window messages waiting now, without waiting for more:
    // keeps the window answering while the items are read. A Pause or Cancel
    // clicked here takes effect at the next SetPosition, or before the first
    // file (a cancel).
    virtual void ProcessMessages() = 0;
    // Set by Cancel or a close request; read before and after every file.
    virtual bool Cancelled() const = 0;
    // The end state: waits for "OK" while the cancel flag is clear, returns
    // at once when it is set, and leaves the flag as it was on entry.
    virtual void WaitForOk() = 0;
};

using InstallProgressFactory = std::function<std::unique_ptr<InstallProgress>()>;

class InstallMessages {
  public:
    virtual ~InstallMessages() = default;

    // An information message with OK, titled with the executable's name.
    virtual void Tell(const std::string& text) = 0;
    // The same under a title of its own.
    virtual void TellTitled(const std::string& title, const std::string& text) = 0;
    // A warning with Yes and No; true when the answer is Yes.
    virtual bool AskYesNo(const std::string& question) = 0;
};

}  // namespace pellion
