#include "main/MessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>

#include "main/SharedState.h"

namespace Ui {

namespace {

MessageHandler& Handler() {
    static MessageHandler handler;
    return handler;
}

std::function<void(int)>& EndHandler() {
    static std::function<void(int)> handler;
    return handler;
}

QMessageBox::Icon ToQt(Icon icon) {
    switch (icon) {
        case Icon::Critical: return QMessageBox::Critical;
        case Icon::Exclamation: return QMessageBox::Warning;
        case Icon::Information: return QMessageBox::Information;
        case Icon::Question: return QMessageBox::Question;
        case Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

Answer Message(const std::string& text, Icon icon, Buttons buttons) {
    if (Handler()) return Handler()(text, icon, buttons);
    QMessageBox box(ToQt(icon), QString::fromUtf8(General::kProgramTitle), QString::fromStdString(text));
    switch (buttons) {
        case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
        case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
        case Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    }
    switch (box.exec()) {
        case QMessageBox::Yes: return Answer::Yes;
        case QMessageBox::No: return Answer::No;
        case QMessageBox::Cancel: return Answer::Cancel;
        default: return Answer::Ok;
    }
}

void SetMessageHandler(MessageHandler handler) { Handler() = std::move(handler); }

void EndProgram(int code) {
    if (EndHandler()) EndHandler()(code);
    std::fflush(nullptr);
    std::_Exit(code);
}

void SetEndProgramHandler(std::function<void(int code)> handler) { EndHandler() = std::move(handler); }

}  // namespace Ui
