#include "tests/support/MessageRecorder.h"

namespace TestSupport {

MessageRecorder::MessageRecorder(Ui::Answer answer) : answer_(answer) {
    Ui::SetMessageHandler([this](const std::string& text, Ui::Icon icon, Ui::Buttons buttons) {
        messages_.push_back({text, icon, buttons});
        switch (buttons) {
            case Ui::Buttons::Ok:
                return Ui::Answer::Ok;
            case Ui::Buttons::YesNo:
                return answer_ == Ui::Answer::No ? Ui::Answer::No : Ui::Answer::Yes;
            case Ui::Buttons::OkCancel:
                return answer_ == Ui::Answer::Cancel ? Ui::Answer::Cancel : Ui::Answer::Ok;
        }
        return answer_;
    });
}

MessageRecorder::~MessageRecorder() { Ui::SetMessageHandler(nullptr); }

std::vector<std::string> MessageRecorder::Texts() const {
    std::vector<std::string> texts;
    for (const auto& message : messages_) texts.push_back(message.text);
    return texts;
}

}  // namespace TestSupport
