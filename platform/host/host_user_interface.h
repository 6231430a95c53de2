// Host stand-in of the user-interface port: records message boxes, the quit message and the
// posted window messages, which the host GUI delivers when it pumps.
#pragma once

#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/user_interface.h"

namespace setup::platform::host {

struct PostedMessage {
  WindowHandle window;
  std::uint32_t message;
  std::uintptr_t wParam;
  std::intptr_t lParam;
  bool operator==(const PostedMessage&) const = default;
};

struct ShownMessageBox {
  std::wstring text;
  std::wstring caption;
  MessageBoxIcon icon;
};

struct AskedMessageBox {
  std::wstring text;
  std::wstring caption;
  std::uint32_t style;
};

class HostUserInterface : public UserInterface {
 public:
  void ShowMessageBox(std::wstring_view text, std::wstring_view caption, MessageBoxIcon icon) override {
    messageBoxes.push_back({std::wstring(text), std::wstring(caption), icon});
  }
  int AskMessageBox(std::wstring_view text, std::wstring_view caption, std::uint32_t style) override {
    askedBoxes.push_back({std::wstring(text), std::wstring(caption), style});
    return answer;
  }
  void PostQuit(int exitCode) override { postedQuit = exitCode; }
  void PumpUntilQuit() override {
    if (whilePumping) whilePumping();
    if (postedQuit) pumpedQuit = postedQuit;
    postedQuit.reset();
  }
  // The queue of the host GUI's posted messages; callable from any thread.
  void PostWindowMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                         std::intptr_t lParam) {
    const std::lock_guard guard(postLock_);
    postedMessages.push_back({window, message, wParam, lParam});
    pending_.push_back({window, message, wParam, lParam});
  }
  // Removes the first message not yet delivered that `matches` accepts from the queue (the
  // record of every posted message stays).
  std::optional<PostedMessage> TakePending(const std::function<bool(const PostedMessage&)>& matches) {
    const std::lock_guard guard(postLock_);
    for (auto it = pending_.begin(); it != pending_.end(); ++it) {
      if (!matches(*it)) continue;
      const PostedMessage taken = *it;
      pending_.erase(it);
      return taken;
    }
    return std::nullopt;
  }
  std::vector<PostedMessage> PostedMessages() {
    const std::lock_guard guard(postLock_);
    return postedMessages;
  }
  bool LoadRichEdit() override {
    richEditLoaded = true;
    return true;
  }

  std::vector<ShownMessageBox> messageBoxes;
  std::vector<AskedMessageBox> askedBoxes;
  int answer = 1;  // the button every asked box returns (1: OK)
  std::optional<int> postedQuit;
  std::optional<int> pumpedQuit;
  bool richEditLoaded = false;
  // Called when the queue is pumped, so that a test can see what had happened by then.
  std::function<void()> whilePumping;

 private:
  std::mutex postLock_;
  std::vector<PostedMessage> postedMessages;
  std::deque<PostedMessage> pending_;
};

}  // namespace setup::platform::host
