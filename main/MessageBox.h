#pragma once
// Message boxes, titled with the program's title. Tests replace the handler to answer and to
// record what the program said.

#include <functional>
#include <string>

namespace Ui {

enum class Icon { None, Critical, Exclamation, Information, Question };
enum class Buttons { Ok, YesNo, OkCancel };
enum class Answer { Ok, Yes, No, Cancel };

Answer Message(const std::string& text, Icon icon = Icon::None, Buttons buttons = Buttons::Ok);

using MessageHandler = std::function<Answer(const std::string& text, Icon icon, Buttons buttons)>;
// Replaces the handler (an empty one restores the real message box).
void SetMessageHandler(MessageHandler handler);

// Ends the program at once with `code`: nothing is unloaded or saved here. Tests replace it.
[[noreturn]] void EndProgram(int code);
void SetEndProgramHandler(std::function<void(int code)> handler);

}  // namespace Ui
