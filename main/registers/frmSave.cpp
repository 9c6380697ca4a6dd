#include "main/registers/frmSave.h"

#include <QDate>
#include <QFile>
#include <QFileDialog>
#include <QLocale>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTime>
#include <exception>
#include <optional>
#include <vector>

#include "main/DeviceLink.h"
#include "main/Numbers.h"
#include "main/Startup.h"
#include "main/Windows.h"
#include "main/frmMain.h"
#include "main/registers/SettingsFile.h"
#include "main/registers/TwipsPlacement.h"

namespace {

using RegMapStuff::PlaceTwips;

const char* const kFilter = "Text Files (*.sav)";
constexpr size_t kRecallPieceSize = 64 * 1024;

frmSave::FileChooser& Chooser() {
    static frmSave::FileChooser chooser;
    return chooser;
}

std::function<void(bool)>& TimerSwitch() {
    static std::function<void(bool)> timerSwitch;
    return timerSwitch;
}

void SetMasterTimer(bool enabled) {
    if (TimerSwitch())
        TimerSwitch()(enabled);
    else if (General::MainForm)
        General::MainForm->SetMasterTimerEnabled(enabled);
}

// Holds the master timer off for as long as it lives, so that every way out of a save or a
// recall, a failure included, starts it again.
class MasterTimerOff {
  public:
    MasterTimerOff() { SetMasterTimer(false); }
    ~MasterTimerOff() { SetMasterTimer(true); }
    MasterTimerOff(const MasterTimerOff&) = delete;
    MasterTimerOff& operator=(const MasterTimerOff&) = delete;
};

}  // namespace

frmSave::frmSave(QWidget* parent) : QWidget(parent) {
    setWindowTitle("Save/Recall Settings");
    // The control positions are laid out in twips for an 8-point font.
    QFont small = font();
    small.setPointSize(8);
    setFont(small);
    resize(Numbers::TwipsToPixels(4350), Numbers::TwipsToPixels(5880));

    Frame2 = new QGroupBox("File I/O", this);
    PlaceTwips(Frame2, 60, 120, 4230, 5280);
    Label2 = new QLabel("Add Comment", Frame2);
    PlaceTwips(Label2, 180, 360, 3600, 255);
    txtComment = new QPlainTextEdit(Frame2);
    PlaceTwips(txtComment, 180, 660, 3870, 1455);
    chkNotDefaults = new QCheckBox("Only save registers that differ from their defaults ", Frame2);
    PlaceTwips(chkNotDefaults, 120, 2280, 4080, 285);
    QFont optionFont = chkNotDefaults->font();
    optionFont.setPointSize(7);  // the whole caption fits the window's width
    chkNotDefaults->setFont(optionFont);
    cmdsave = new QPushButton("Save  Current Configuration", Frame2);
    PlaceTwips(cmdsave, 180, 2820, 3870, 495);
    cmdRecall = new QPushButton("Recall Previous Configuration", Frame2);
    PlaceTwips(cmdRecall, 180, 3480, 3870, 495);
    cmdClose = new QPushButton("Close", Frame2);
    PlaceTwips(cmdClose, 1380, 4440, 1455, 435);

    connect(cmdsave, &QPushButton::clicked, this, [this] { cmdsave_Click(); });
    connect(cmdRecall, &QPushButton::clicked, this, [this] { cmdRecall_Click(); });
    connect(cmdClose, &QPushButton::clicked, this, [this] { cmdClose_Click(); });
}

frmSave::~frmSave() = default;

void frmSave::SetFileChooser(FileChooser chooser) { Chooser() = std::move(chooser); }

void frmSave::SetTimerSwitch(std::function<void(bool)> timerSwitch) {
    TimerSwitch() = std::move(timerSwitch);
}

QString frmSave::ChooseFile(FileDialogMode mode) {
    const QString folder = QString::fromStdString(USBStuff::ProgramFolder);
    if (Chooser()) return Chooser()(mode, folder, kFilter);
    // No default suffix: a name typed without ".sav" is used as typed.
    if (mode == FileDialogMode::Save)
        return QFileDialog::getSaveFileName(this, "Save Settings", folder, kFilter);
    return QFileDialog::getOpenFileName(this, "Recall Settings", folder, kFilter);
}

void frmSave::cmdsave_Click() {
    bool saved = false;
    try {
        const QLocale locale = QLocale::system();
        // The regional settings' time with its seconds, but without the time zone that the
        // long format appends.
        QString timeFormat = locale.timeFormat(QLocale::LongFormat);
        timeFormat.remove(QRegularExpression("\\s*t+"));
        const std::string header = RegMapStuff::SettingsHeader(
            locale.toString(QDate::currentDate(), QLocale::ShortFormat).toStdString(),
            locale.toString(QTime::currentTime(), timeFormat).toStdString(),
            txtComment->toPlainText().toLocal8Bit().toStdString());
        MasterTimerOff timerOff;
        const std::string list =
            RegMapStuff::SettingsRegisterList(chkNotDefaults->isChecked(), [](int32_t address) {
                return static_cast<int>(USBStuff::ReadRegister(USBStuff::DeviceAddress, address));
            });
        const QString name = ChooseFile(FileDialogMode::Save);
        if (name.isEmpty()) return;
        const std::string text = header + list + "\r\n";
        // The old file stays as it was unless the new one is written completely.
        QSaveFile file(name);
        if (!file.open(QIODevice::WriteOnly)) return;
        // The write is buffered, and commit() would rename a file whose buffer never reached
        // the disc: the flush must succeed first.
        const bool written = file.write(text.data(), static_cast<qint64>(text.size())) ==
                                 static_cast<qint64>(text.size()) &&
                             file.flush() && file.error() == QFileDevice::NoError;
        if (!written) {
            file.cancelWriting();
            return;
        }
        saved = file.commit();
    } catch (const std::exception&) {
        // A failed save ends silently and leaves the window open; the timer is already running.
        return;
    }
    if (saved) Windows::Close(this);
}

void frmSave::cmdRecall_Click() {
    try {
        const QString name = ChooseFile(FileDialogMode::Open);
        if (name.isEmpty()) return;
        // Declared before the file, so the file is closed before the timer runs again.
        std::optional<MasterTimerOff> timerOff;
        QFile file(name);
        if (!file.open(QIODevice::ReadOnly)) return;
        // Read a piece at a time up to the end of the list: a file of any size costs one piece
        // and one line. A read that fails ends the recall; what was written stays written.
        RegMapStuff::SettingsReader reader;
        std::vector<char> piece(kRecallPieceSize);
        while (!reader.ListClosed()) {
            const qint64 got = file.read(piece.data(), static_cast<qint64>(piece.size()));
            if (got <= 0) break;
            reader.Feed(std::string_view(piece.data(), static_cast<size_t>(got)));
            if (reader.ListFound() && !timerOff) timerOff.emplace();
            for (const RegMapStuff::SettingsWrite& write : reader.TakeWrites())
                USBStuff::WriteRegister(USBStuff::DeviceAddress, write.address,
                                        int32_t{write.value});
        }
    } catch (const std::exception&) {
        // Registers written before a failure stay written; the window stays open.
    }
}

void frmSave::cmdClose_Click() { Windows::Close(this); }
