// QuorvexEval: finds the Quorvex chips on the USB evaluation board and on the SMBus, reads them
// continuously and sets every function of the chip.

#include <QApplication>
#include <QDir>
#include <QGuiApplication>

#include "main/DeviceLink.h"
#include "main/MessageBox.h"
#include "main/RuntimeError.h"
#include "main/SharedState.h"
#include "main/Startup.h"
#include "main/WheelGuard.h"
#include "main/Windows.h"

namespace {

// A run-time error that no procedure traps ends the program with its message.
class QuorvexApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const RuntimeError& error) {
            Ui::Message("Run-time error '" + std::to_string(error.Number()) + "':\n\n" + error.Description(),
                        Ui::Icon::Critical);
        } catch (const std::exception& error) {
            Ui::Message(std::string("Run-time error:\n\n") + error.what(), Ui::Icon::Critical);
        }
        Ui::EndProgram(1);
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        std::fprintf(stderr,
                     "QuorvexEval needs a display. Without one, run it under a virtual display:\n"
                     "  xvfb-run -a %s\n",
                     argv[0]);
        return 2;
    }
    QuorvexApplication app(argc, argv);
    QCoreApplication::setOrganizationName("QuorvexEval");
    QCoreApplication::setApplicationName(General::kProgramTitle);
    USBStuff::ProgramFolder = QCoreApplication::applicationDirPath().toStdString();

    app.installEventFilter(new WheelGuard(&app));
    Windows::RegisterAllWindows();
    General::Main();
    return app.exec();
}
