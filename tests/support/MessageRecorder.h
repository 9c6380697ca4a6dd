#pragma once
// Records the message boxes the program shows while it lives, answering each with a chosen
// answer instead of opening a box; the real message box comes back when it goes.

#include <string>
#include <vector>

#include "main/MessageBox.h"

namespace TestSupport {

struct ShownMessage {
    std::string text;
    Ui::Icon icon;
    Ui::Buttons buttons;
};

class MessageRecorder {
  public:
    // `answer` for Yes/No boxes (Ok boxes are always answered Ok, Ok/Cancel ones Ok or Cancel).
    explicit MessageRecorder(Ui::Answer answer = Ui::Answer::Yes);
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    void SetAnswer(Ui::Answer answer) { answer_ = answer; }
    const std::vector<ShownMessage>& Messages() const { return messages_; }
    // The texts only, in order.
    std::vector<std::string> Texts() const;
    void Clear() { messages_.clear(); }

  private:
    Ui::Answer answer_;
    std::vector<ShownMessage> messages_;
};

}  // namespace TestSupport
