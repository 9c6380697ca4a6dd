#include "main/board/frmHeaters.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "main/DeviceLink.h"
#include "main/MasterTimer.h"
#include "main/Numbers.h"
#include "main/SharedState.h"
#include "main/Windows.h"
#include "main/board/HeaterLevels.h"
#include "main/monitoring/Measurements.h"

using Numbers::TwipsToPixels;

frmHeaters::frmHeaters(QWidget* parent) : QWidget(parent) {
    setObjectName("frmHeaters");
    setWindowTitle("Heater Control");

    Frame1 = new QGroupBox(this);
    Frame2 = new QGroupBox(this);
    Label1 = new QLabel("Heater1 PWM", Frame1);
    Label2 = new QLabel("Heater2 PWM", Frame2);
    const std::array<QGroupBox*, 2> frames{Frame1, Frame2};
    const std::array<QLabel*, 2> captions{Label1, Label2};
    auto* layout = new QVBoxLayout(this);
    for (int k = 0; k < 2; ++k) {
        sldHeater[k] = new Controls::Slider(frames[k]);
        sldHeater[k]->setObjectName(QString("sldHeater%1").arg(k));
        lblTemp[k] = new QLabel(k == 0 ? "Remote1 = " : "Remote2 = ", frames[k]);
        auto* inner = new QVBoxLayout(frames[k]);
        inner->addWidget(captions[k]);
        inner->addWidget(sldHeater[k]);
        inner->addWidget(lblTemp[k]);
        // Positions set from code (the status read at load) are what the board already has:
        // only the user's moves are sent.
        connect(sldHeater[k], &Controls::Slider::Changed, this, [this, k](int, bool byUser) {
            if (byUser) sldHeater_Change(k);
        });
        layout->addWidget(frames[k], 1);
    }
    cmdClose = new QPushButton("Close", this);
    connect(cmdClose, &QPushButton::clicked, this, &frmHeaters::cmdClose_Click);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdClose);
    layout->addLayout(buttons);

    Form_Load();
}

frmHeaters::~frmHeaters() { General::HeatersOpen = false; }

void frmHeaters::Form_Load() {
    resize(TwipsToPixels(2970), TwipsToPixels(4395));
    if (USBStuff::LinkType == USBStuff::kLinkUsb) {
        // Answered No to a failure, the bytes left in the buffer are shown as they stand.
        USBStuff::ReadHeaterStatus();
        for (int k = 0; k < 2; ++k)
            sldHeater[k]->SetValue(Heaters::PowerFromSlider(
                Heaters::SliderFromStatusByte(USBStuff::IoBuffer[static_cast<size_t>(k)])));
    }
    // Over the SMBus there is no board to ask: the sliders stay at 0 rather than showing
    // whatever an earlier request left in the buffer.
    General::HeatersOpen = true;
}

void frmHeaters::sldHeater_Change(int index) {
    USBStuff::SetHeaterPower(index + 1, Heaters::PowerFromSlider(sldHeater[index]->Value()));
}

void frmHeaters::cmdClose_Click() { Windows::Close(this); }

void frmHeaters::UpdateTemperatureLabels() {
    lblTemp[0]->setText(
        QString::fromStdString(MasterTimer::HeaterLabelText("Remote1", General::Temperatures[0])));
    lblTemp[1]->setText(
        QString::fromStdString(MasterTimer::HeaterLabelText("Remote2", General::Temperatures[2])));
}
