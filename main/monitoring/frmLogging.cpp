#include "main/monitoring/frmLogging.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "main/DeviceLink.h"
#include "main/MessageBox.h"
#include "main/Numbers.h"
#include "main/SharedState.h"
#include "main/Startup.h"
#include "main/Windows.h"
#include "main/frmMain.h"
#include "platform/controls/UpDown.h"

using Numbers::TwipsToPixels;

namespace {

constexpr const char* kStart = "Start Logging";
constexpr const char* kStop = "Stop logging...";

frmLogging::FileChooser& Chooser() {
    static frmLogging::FileChooser chooser;
    return chooser;
}

std::string ChooseFile(const std::string& initialFolder) {
    if (Chooser()) return Chooser()(initialFolder);
    // An open dialog that also takes the name of a file still to be made.
    QFileDialog dialog(nullptr, QString(), QString::fromStdString(initialFolder),
                       "Log Files (*.csv)");
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first().toStdString();
}

void SetStatus(const char* text) {
    if (General::MainForm) General::MainForm->SetStatusText(text);
}

// Channels by frame: temperatures 0..3 and 39..44, fans 4..15, voltages 16..38.
bool IsTemperature(int i) { return i <= 3 || i >= 39; }
bool IsFan(int i) { return i >= 4 && i <= 15; }

}  // namespace

frmLogging::frmLogging(QWidget* parent) : QWidget(parent) {
    setObjectName("frmLogging");
    setWindowTitle("Data Logging");

    Frame1 = new QGroupBox("Temperature Values", this);
    Frame2 = new QGroupBox("Fan Values", this);
    Frame3 = new QGroupBox("Voltage Values", this);
    auto* temperatures = new QVBoxLayout(Frame1);
    auto* fans = new QVBoxLayout(Frame2);
    auto* voltages = new QGridLayout(Frame3);
    int voltageRow = 0;
    for (int i = 0; i < General::kLogChannelCount; ++i) {
        QGroupBox* frame = IsTemperature(i) ? Frame1 : IsFan(i) ? Frame2 : Frame3;
        chkLog[i] = new QCheckBox(General::LogChannelCaption(i), frame);
        chkLog[i]->setObjectName(QString("chkLog%1").arg(i));
        if (frame == Frame1)
            temperatures->addWidget(chkLog[i]);
        else if (frame == Frame2)
            fans->addWidget(chkLog[i]);
        else {
            voltages->addWidget(chkLog[i], voltageRow % 12, voltageRow / 12);
            ++voltageRow;
        }
    }
    temperatures->addStretch(1);
    fans->addStretch(1);
    voltages->setRowStretch(12, 1);

    lblLogInt = new QLabel("Interval (ms)", this);
    txtLogInt = new QLineEdit(this);
    txtLogInt->setMaximumWidth(TwipsToPixels(1000));
    UpDown1 = new Controls::UpDown(txtLogInt, 10, 10000, this);
    cmdSelectAll = new QPushButton("Select  All", this);
    cmdDeselectAll = new QPushButton("Deselect All", this);
    cmdClose = new QPushButton("Close", this);
    cmdLogData = new QPushButton(kStart, this);
    connect(cmdSelectAll, &QPushButton::clicked, this, &frmLogging::cmdSelectAll_Click);
    connect(cmdDeselectAll, &QPushButton::clicked, this, &frmLogging::cmdDeselectAll_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmLogging::cmdClose_Click);
    connect(cmdLogData, &QPushButton::clicked, this, &frmLogging::cmdLogData_Click);

    auto* frames = new QHBoxLayout;
    frames->addWidget(Frame1);
    frames->addWidget(Frame2);
    frames->addWidget(Frame3, 2);
    auto* interval = new QHBoxLayout;
    interval->addWidget(lblLogInt);
    interval->addWidget(txtLogInt);
    interval->addWidget(UpDown1);
    interval->addStretch(1);
    interval->addWidget(cmdSelectAll);
    interval->addWidget(cmdDeselectAll);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdLogData);
    buttons->addStretch(1);
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(frames, 1);
    layout->addLayout(interval);
    layout->addLayout(buttons);

    Form_Load();
}

void frmLogging::Form_Load() {
    using namespace General;
    resize(TwipsToPixels(8925), TwipsToPixels(7980));
    txtLogInt->setText(QString::number(LogIntervalMs));
    cmdLogData->setText(LoggingActive ? kStop : kStart);
    for (int i = 0; i < kLogChannelCount; ++i) {
        const bool available = LogChannel[kLogAvailableRow][i] == 1.0f;
        chkLog[i]->setEnabled(available);
        chkLog[i]->setChecked(available && LogChannel[kLogSelectedRow][i] == 1.0f);
    }
}

void frmLogging::cmdSelectAll_Click() {
    for (QCheckBox* box : chkLog)
        if (box->isEnabled()) box->setChecked(true);
}

void frmLogging::cmdDeselectAll_Click() {
    for (QCheckBox* box : chkLog) box->setChecked(false);
}

void frmLogging::cmdClose_Click() { Windows::Close(this); }

void frmLogging::cmdLogData_Click() {
    if (General::LoggingActive)
        StopLogging();
    else
        StartLogging();
}

void frmLogging::StartLogging() {
    using namespace General;
    // The interval is checked first, so a refused one leaves no trace in the file or the window.
    const std::optional<int32_t> interval = LogIntervalFromText(txtLogInt->text().toStdString());
    if (!interval) {
        Ui::Message("The interval must be a whole number of milliseconds from 0 to 2147483647",
                    Ui::Icon::Exclamation);
        return;
    }
    LogFileName.clear();
    const std::string chosen = ChooseFile(USBStuff::ProgramFolder);
    if (chosen.empty()) return;
    LogFileName = chosen;

    bool any = false;
    for (int i = 0; i < kLogChannelCount; ++i) {
        LogChannel[kLogSelectedRow][i] = chkLog[i]->isChecked() ? 1.0f : 0.0f;
        any = any || chkLog[i]->isChecked();
    }
    if (!any) {
        Ui::Message("At least one item must be selected for logging", Ui::Icon::Exclamation);
        return;
    }
    if (!AppendToLogFile(LogFileName, LogTitleBlock() + BuildLogHeader() + "\r\n")) {
        Ui::Message("The log file " + LogFileName + " could not be written", Ui::Icon::Exclamation);
        return;
    }
    LogIntervalMs = *interval;
    LogSampleCount = 0;
    LoggingActive = true;
    cmdLogData->setText(kStop);
    SetStatus("Logging Enabled");
}

void frmLogging::StopLogging() {
    General::LoggingActive = false;
    SetStatus("Ready");
    cmdLogData->setText(kStart);
}

void frmLogging::LogWriteFailed() {
    if (!General::LoggingActive) return;
    // Stopped before the message: its box runs the event loop, and no further tick may try again.
    if (auto* window = Windows::FindAs<frmLogging>(Windows::Kind::Logging))
        window->StopLogging();
    else {
        General::LoggingActive = false;
        SetStatus("Ready");
    }
    Ui::Message(
        "The log file " + General::LogFileName + " could not be written; logging has stopped",
        Ui::Icon::Exclamation);
}

void frmLogging::SetFileChooser(FileChooser chooser) { Chooser() = std::move(chooser); }
