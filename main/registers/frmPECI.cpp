#include "main/registers/frmPECI.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "main/DeviceLink.h"
#include "main/Numbers.h"
#include "main/Windows.h"
#include "main/registers/ConfigControls.h"
#include "main/registers/ConfigRegisters.h"

using namespace RegMapStuff;

namespace {

// The window reads the two PECI temperature settings as blocks of one register.
int32_t ReadAsBlock(int32_t reg) {
    USBStuff::ReadRegisterBlock(USBStuff::DeviceAddress, reg, 1);
    return USBStuff::IoBuffer[0];
}

QString SignedText(int32_t byte) { return QString::number(SignedByte(byte)); }

std::string TextOf(const QLineEdit* box) { return box->text().toStdString(); }

bool ShowsTwo(const QComboBox* domain) { return ListIndexByText(domain, kDomainItems) == 1; }

// A number typed outside the range is stepped as typed and lands on the nearer end.
Controls::UpDown* NewUpDown(QLineEdit* box, int min, int max, QWidget* parent) {
    return new Controls::UpDown(box, min, max, parent, 1,
                                Controls::UpDown::OutsideRange::StepThenClamp);
}

}  // namespace

frmPECI::frmPECI(QWidget* parent) : QWidget(parent) {
    BuildControls();
    Form_Load();
}

frmPECI::~frmPECI() = default;

void frmPECI::BuildControls() {
    setWindowTitle("PECI Configuration");
    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName("SSTab1");
    auto* page = new QWidget(SSTab1);
    SSTab1->addTab(page, "PECI Settings");

    auto addNumberRow = [](QGridLayout* grid, int row, const char* label, QLineEdit* box,
                           Controls::UpDown* upDown, QWidget* parent) {
        grid->addWidget(new QLabel(label, parent), row, 0);
        auto* field = new QHBoxLayout;
        field->setSpacing(0);
        field->addWidget(box);
        field->addWidget(upDown);
        field->addStretch();
        grid->addLayout(field, row, 1);
    };
    auto newBox = [](QWidget* parent) {
        auto* box = new QLineEdit(parent);
        box->setFixedWidth(60);
        return box;
    };

    Frame3 = new QGroupBox("General", page);
    txtTcontrol = newBox(Frame3);
    UpDown2 = NewUpDown(txtTcontrol, -120, 0, Frame3);
    txtTmin = newBox(Frame3);
    UpDown3 = NewUpDown(txtTmin, -120, 0, Frame3);
    cmbTrange = NewFixedList(kTrangeItems, Frame3);
    txtHyst = newBox(Frame3);
    UpDown1 = NewUpDown(txtHyst, 0, 15, Frame3);
    cmbAveraging = NewFixedList(kAveragingItems, Frame3);
    chkPECIMonitor = new QCheckBox("Enable PECI Monitoring", Frame3);
    auto* general = new QGridLayout(Frame3);
    addNumberRow(general, 0, "Tcontrol Limit", txtTcontrol, UpDown2, Frame3);
    addNumberRow(general, 1, "PECI Tmin", txtTmin, UpDown3, Frame3);
    general->addWidget(new QLabel("PECI Trange", Frame3), 2, 0);
    general->addWidget(cmbTrange, 2, 1);
    addNumberRow(general, 3, "Hysteresis", txtHyst, UpDown1, Frame3);
    general->addWidget(new QLabel("Averaging Interval", Frame3), 4, 0);
    general->addWidget(cmbAveraging, 4, 1);
    general->addWidget(chkPECIMonitor, 5, 0, 1, 2);
    general->setRowStretch(6, 1);

    Frame2 = new QGroupBox("Offset", page);
    auto* offsets = new QGridLayout(Frame2);
    std::array<Controls::UpDown**, 4> offsetUpDowns{&UpDown4, &UpDown5, &UpDown6, &UpDown7};
    for (int i = 0; i < 4; ++i) {
        txtOffset[i] = newBox(Frame2);
        *offsetUpDowns[i] = NewUpDown(txtOffset[i], -63, 127, Frame2);
        const QByteArray label = QStringLiteral("PECI%1 Offset").arg(i).toUtf8();
        addNumberRow(offsets, i, label.constData(), txtOffset[i], *offsetUpDowns[i], Frame2);
    }
    offsets->setRowStretch(4, 1);

    Frame1 = new QGroupBox("CPU/Domain", page);
    cmbCPUCount = NewFixedList(kCpuCountItems, Frame1);
    auto* cpus = new QGridLayout(Frame1);
    cpus->addWidget(new QLabel("CPU Count", Frame1), 0, 0);
    cpus->addWidget(cmbCPUCount, 0, 1);
    for (int i = 0; i < 4; ++i) {
        cmbDomain[i] = NewFixedList(kDomainItems, Frame1);
        cpus->addWidget(new QLabel(QStringLiteral("CPU%1 Domain Count").arg(i + 1), Frame1),
                        1 + i % 2, 2 * (i / 2));
        cpus->addWidget(cmbDomain[i], 1 + i % 2, 2 * (i / 2) + 1);
    }
    cpus->setColumnStretch(1, 1);
    cpus->setColumnStretch(3, 1);

    auto* pageLayout = new QGridLayout(page);
    pageLayout->addWidget(Frame3, 0, 0);
    pageLayout->addWidget(Frame2, 0, 1);
    pageLayout->addWidget(Frame1, 1, 0, 1, 2);
    pageLayout->setRowStretch(0, 1);

    cmdOK = new QPushButton("OK", this);
    cmdApply = new QPushButton("Apply", this);
    cmdCancel = new QPushButton("Cancel", this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1, 1);
    AddButtonRow(layout, {cmdOK, cmdApply, cmdCancel});

    connect(cmdOK, &QPushButton::clicked, this, &frmPECI::cmdOK_Click);
    connect(cmdApply, &QPushButton::clicked, this, &frmPECI::cmdApply_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmPECI::cmdCancel_Click);
}

void frmPECI::Form_Load() {
    resize(Numbers::TwipsToPixels(8220), Numbers::TwipsToPixels(7260));
    const int32_t address = USBStuff::DeviceAddress;

    int32_t v = USBStuff::ReadRegister(address, kRegPeciAveraging);
    cmbAveraging->setCurrentIndex(v & 0x07);
    cmbDomain[0]->setCurrentIndex((v >> 3) & 1);

    v = USBStuff::ReadRegister(address, kRegConfig1);
    chkPECIMonitor->setChecked(BitsSet(v, 0x10));

    v = USBStuff::ReadRegister(address, kRegHysteresis);
    txtHyst->setText(QString::number(v & 0x0F));

    v = USBStuff::ReadRegister(address, kRegPeciCpus);
    cmbCPUCount->setCurrentIndex((v & 0xC0) >> 6);
    cmbDomain[1]->setCurrentIndex((v >> 5) & 1);
    cmbDomain[2]->setCurrentIndex((v >> 4) & 1);
    cmbDomain[3]->setCurrentIndex((v >> 3) & 1);

    v = USBStuff::ReadRegister(address, kRegPeciTrange);
    cmbTrange->setCurrentIndex((v & 0xF0) >> 4);

    for (int i = 0; i < 4; ++i)
        txtOffset[i]->setText(SignedText(USBStuff::ReadRegister(address, kRegPeciOffset0 + i)));

    txtTmin->setText(SignedText(ReadAsBlock(kRegPeciTmin)));
    txtTcontrol->setText(SignedText(ReadAsBlock(kRegPeciTcontrol)));
}

void frmPECI::cmdApply_Click() {
    const int32_t address = USBStuff::DeviceAddress;
    auto readModifyWrite = [address](int32_t reg, auto change) {
        const int32_t read = USBStuff::ReadRegister(address, reg);
        USBStuff::WriteRegister(address, reg, change(read));
    };

    readModifyWrite(kRegPeciAveraging, [this](int32_t read) {
        return PeciAveragingRegister(read, ListIndexByText(cmbAveraging, kAveragingItems),
                                     ShowsTwo(cmbDomain[0]));
    });
    readModifyWrite(kRegConfig1, [this](int32_t read) {
        return WithBits(read, 0x10, chkPECIMonitor->isChecked());
    });
    readModifyWrite(kRegHysteresis, [this](int32_t read) {
        return PeciHysteresisRegister(read, NibbleOfText(TextOf(txtHyst)));
    });
    readModifyWrite(kRegPeciCpus, [this](int32_t read) {
        return PeciCpuRegister(
            read, ListIndexByText(cmbCPUCount, kCpuCountItems),
            {ShowsTwo(cmbDomain[1]), ShowsTwo(cmbDomain[2]), ShowsTwo(cmbDomain[3])});
    });
    readModifyWrite(kRegPeciTrange, [this](int32_t read) {
        return PeciTrangeRegister(read, ListIndexByText(cmbTrange, kTrangeItems));
    });
    for (int i = 0; i < 4; ++i)
        USBStuff::WriteRegister(address, kRegPeciOffset0 + i,
                                SignedByteOfText(TextOf(txtOffset[i])));
    USBStuff::WriteRegister(address, kRegPeciTcontrol, SignedByteOfText(TextOf(txtTcontrol)));
    USBStuff::WriteRegister(address, kRegPeciTmin, SignedByteOfText(TextOf(txtTmin)));
}

void frmPECI::cmdOK_Click() {
    cmdApply_Click();
    Windows::Close(this);
}

void frmPECI::cmdCancel_Click() { Windows::Close(this); }
