#include "main/registers/frmRegMap.h"

#include <QEvent>
#include <QHeaderView>
#include <QMouseEvent>

#include "main/DeviceLink.h"
#include "main/MessageBox.h"
#include "main/Numbers.h"
#include "main/SharedState.h"
#include "main/registers/RegMapBoxes.h"
#include "main/registers/RegisterTable.h"
#include "main/registers/RegisterTree.h"
#include "main/registers/TwipsPlacement.h"

namespace {

using RegMapStuff::PlaceTwips;

constexpr double kBitsFrameWidth = 4575;
constexpr double kRowHeight = 255;
constexpr double kBoxHeight = 285;
const QColor kGroupColour(0, 128, 0);
const QColor kRegisterColour(0, 0, 192);

QLabel* NewLabel(QWidget* parent, const char* text, double left, double top, double width) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    PlaceTwips(label, left, top, width, kRowHeight);
    return label;
}

QLineEdit* NewBox(QWidget* parent, double top) {
    auto* box = new QLineEdit(parent);
    PlaceTwips(box, 1560, top, 615, kBoxHeight);
    return box;
}

std::string Text(const QLineEdit* box) { return box->text().toStdString(); }

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

frmRegMap::frmRegMap(QWidget* parent) : QWidget(parent) {
    setWindowTitle("Register Map");
    // The control positions are laid out in twips for an 8-point font.
    QFont small = font();
    small.setPointSize(8);
    setFont(small);
    resize(Numbers::TwipsToPixels(8655), Numbers::TwipsToPixels(6975));
    BuildControls();
    BuildRegisterTree();
    LayoutBitLabels();
    txtDevAddr->setText(Q(Numbers::Hex(USBStuff::DeviceAddress)));
    TreeView1->topLevelItem(0)->setExpanded(true);
    General::RegMapOpen = true;
}

frmRegMap::~frmRegMap() { General::RegMapOpen = false; }

void frmRegMap::BuildControls() {
    Frame1 = new QGroupBox("Register Map", this);
    PlaceTwips(Frame1, 240, 240, 3255, 6135);
    TreeView1 = new QTreeWidget(Frame1);
    PlaceTwips(TreeView1, 240, 360, 2775, 5535);
    TreeView1->setHeaderHidden(true);
    TreeView1->setColumnCount(1);
    TreeView1->setIndentation(Numbers::TwipsToPixels(200));
    // Long register names scroll sideways rather than being cut short.
    TreeView1->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    TreeView1->header()->setStretchLastSection(false);
    connect(TreeView1, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* node, int) { TreeView1_NodeClick(node); });

    Frame3 = new QGroupBox("Register Details", this);
    PlaceTwips(Frame3, 3720, 240, 4575, 2175);
    lblRegDescription = NewLabel(Frame3, "Description", 240, 360, 4095);
    Label8 = NewLabel(Frame3, "Address", 240, 720, 2160);
    lblCurrentAddr = NewLabel(Frame3, "Address", 2520, 720, 1815);
    Label9 = NewLabel(Frame3, "Current Value (Hex)", 240, 960, 2160);
    lblHexVal = NewLabel(Frame3, "HexVal", 2520, 960, 1815);
    Label10 = NewLabel(Frame3, "Current Value (Dec)", 240, 1200, 2160);
    lblDecVal = NewLabel(Frame3, "DecVal", 2520, 1200, 1815);
    Label1 = NewLabel(Frame3, "Read Only", 240, 1440, 2160);
    lblReadOnly = NewLabel(Frame3, "ReadOnly", 2520, 1440, 1815);

    fraBits = new QGroupBox("Bit Display", this);
    PlaceTwips(fraBits, 3720, 2760, kBitsFrameWidth, 1335);
    for (int n = 0; n < 8; ++n) {
        lblBit[n] = new QLabel("0", fraBits);
        lblBit[n]->setAlignment(Qt::AlignCenter);
        lblBit[n]->setFrameShape(QFrame::Panel);
        lblBit[n]->setFrameShadow(QFrame::Sunken);
        lblBit[n]->setCursor(Qt::PointingHandCursor);
        lblBit[n]->installEventFilter(this);
        lblInfo[n] = new QLabel("X", fraBits);
        lblInfo[n]->setAlignment(Qt::AlignCenter);
        QFont nameFont = lblInfo[n]->font();
        nameFont.setPointSize(7);  // "Shutdown" must fit over its bit
        lblInfo[n]->setFont(nameFont);
    }

    Frame6 = new QGroupBox("Read/Write", this);
    PlaceTwips(Frame6, 3720, 4440, 4575, 1815);
    Label2 = NewLabel(Frame6, "Device Address", 240, 255, 1275);
    txtDevAddr = NewBox(Frame6, 240);
    Label11 = NewLabel(Frame6, "Address", 240, 615, 1275);
    txtReadAddr = NewBox(Frame6, 600);
    Label5 = NewLabel(Frame6, "Value(Hex)", 240, 975, 1275);
    txtHex = NewBox(Frame6, 960);
    Label6 = NewLabel(Frame6, "Value(Dec)", 240, 1335, 1275);
    txtDec = NewBox(Frame6, 1320);
    cmdWrite = new QPushButton("Write", Frame6);
    PlaceTwips(cmdWrite, 2400, 570, 1095, 345);
    cmdRead = new QPushButton("Read", Frame6);
    PlaceTwips(cmdRead, 2400, 930, 1095, 345);
    chkContRead = new QCheckBox("Continuous Read", Frame6);
    PlaceTwips(chkContRead, 2400, 1320, 2055, kBoxHeight);

    connect(cmdRead, &QPushButton::clicked, this, [this] { cmdRead_Click(); });
    connect(cmdWrite, &QPushButton::clicked, this, [this] { cmdWrite_Click(); });
    connect(txtDec, &QLineEdit::textChanged, this, [this] { txtDec_Change(); });
    connect(txtHex, &QLineEdit::textChanged, this, [this] { txtHex_Change(); });
    connect(txtDec, &QLineEdit::returnPressed, this, [this] { txtDec_KeyDown(13, 0); });
    connect(txtHex, &QLineEdit::returnPressed, this, [this] { txtHex_KeyDown(13, 0); });
}

void frmRegMap::BuildRegisterTree() {
    TreeView1->clear();
    for (const RegMapStuff::RegisterGroup& group : RegMapStuff::RegisterTreeGroups()) {
        auto* groupNode = new QTreeWidgetItem(TreeView1, {Q(std::string(group.text))});
        groupNode->setData(0, Qt::UserRole, Q(std::string(group.key)));
        groupNode->setForeground(0, kGroupColour);
        for (std::string_view name : group.names) {
            auto* node = new QTreeWidgetItem(groupNode, {Q(std::string(name))});
            node->setData(0, Qt::UserRole, Q(std::string(name)));
            node->setForeground(0, kRegisterColour);
        }
    }
}

void frmRegMap::LayoutBitLabels() {
    const double width = (kBitsFrameWidth - 200) / 8;
    for (int i = 7; i >= 0; --i) {
        const double left = kBitsFrameWidth - ((i + 1) * width + 100);
        PlaceTwips(lblBit[i], left, 240, width, 315);
        // Names are centred over their bit; a name may be a little wider than the bit.
        const double nameWidth = width * 1.25;
        PlaceTwips(lblInfo[7 - i], left + width * 0.5 - nameWidth * 0.5, 720, nameWidth,
                   kRowHeight);
    }
}

bool frmRegMap::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        for (int n = 0; n < 8; ++n) {
            if (watched == lblBit[n]) {
                lblBit_Click(n);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmRegMap::TreeView1_NodeClick(QTreeWidgetItem* node) {
    if (!node || !node->parent()) return;  // a group node
    const int index = RegMapStuff::FindRegisterByName(node->text(0).toStdString());
    if (index >= 0) ShowRegister(index);
}

int32_t frmRegMap::DeviceAddressOrRefuse(bool reportRefusal) {
    const int64_t address = RegMapStuff::HexBoxNumber(Text(txtDevAddr));
    if (RegMapStuff::IsDeviceAddress(address)) return static_cast<int32_t>(address);
    if (reportRefusal)
        Ui::Message("The device address must be a hex number from 1 to FF.", Ui::Icon::Exclamation);
    return -1;
}

int32_t frmRegMap::RegisterAddressOrRefuse(int64_t reg, bool reportRefusal) {
    if (RegMapStuff::IsRegisterAddress(reg)) return static_cast<int32_t>(reg);
    if (reportRefusal)
        Ui::Message("The register address must be a hex number from 0 to FF.",
                    Ui::Icon::Exclamation);
    return -1;
}

void frmRegMap::ShowRegister(int index) {
    const RegMapStuff::RegisterInfo* info = RegMapStuff::RegisterAt(index);
    if (!info) return;
    // The panel changes only together with a value actually read from the device.
    const int32_t device = DeviceAddressOrRefuse(true);
    if (device < 0) return;
    lblRegDescription->setText(Q(info->Description + " Register"));
    lblCurrentAddr->setText(Q(Numbers::HexH(info->Address)));
    txtReadAddr->setText(lblCurrentAddr->text());
    lblReadOnly->setText(info->ReadOnly ? "Yes" : "No");
    const auto names = RegMapStuff::SplitBitNames(info->BitNames);
    for (int k = 0; k < 8; ++k) lblInfo[k]->setText(Q(names[k]));
    ShowValue(device, info->Address);
}

void frmRegMap::ShowValue(int32_t deviceAddress, int32_t reg) {
    const int32_t value = USBStuff::ReadRegister(deviceAddress, reg);
    lblDecVal->setText(QString::number(value));
    lblHexVal->setText(Q(Numbers::Hex(value)));
    ShowBits(value);
    valueShown_ = true;
}

void frmRegMap::ShowBits(int32_t value) {
    for (int b = 7; b >= 0; --b) lblBit[b]->setText((value >> b) & 1 ? "1" : "0");
}

void frmRegMap::cmdRead_Click() { Read(true); }

void frmRegMap::ContinuousRead() { Read(false); }

void frmRegMap::Read(bool reportRefusal) {
    const int64_t typed = RegMapStuff::HexBoxNumber(Text(txtReadAddr));
    const int32_t reg = RegisterAddressOrRefuse(typed, reportRefusal);
    if (reg < 0) return;
    const int index = RegMapStuff::FindRegisterByAddress(reg);
    if (index >= 0) {
        if (reportRefusal || DeviceAddressOrRefuse(false) >= 0) ShowRegister(index);
        return;
    }
    const int32_t device = DeviceAddressOrRefuse(reportRefusal);
    if (device < 0) return;
    lblRegDescription->setText("Unknown");
    lblCurrentAddr->setText(Q(Numbers::HexH(reg)));
    txtReadAddr->setText(lblCurrentAddr->text());
    for (int k = 0; k < 8; ++k) lblInfo[k]->setText(QString::number(7 - k));
    ShowValue(device, reg);
}

void frmRegMap::cmdWrite_Click() { WriteValue(RegMapStuff::DecBoxNumber(Text(txtDec))); }

void frmRegMap::WriteValue(int64_t typedValue) {
    const int32_t device = DeviceAddressOrRefuse(true);
    if (device < 0) return;
    const int32_t reg = RegisterAddressOrRefuse(RegMapStuff::HexBoxNumber(Text(txtReadAddr)), true);
    if (reg < 0) return;
    const std::optional<int32_t> value = RegMapStuff::ByteToWrite(typedValue);
    if (!value) {
        Ui::Message("A negative value cannot be written to a register.", Ui::Icon::Exclamation);
        return;
    }
    USBStuff::WriteRegister(device, reg, int32_t{*value});
    cmdRead_Click();
}

void frmRegMap::lblBit_Click(int index) {
    if (index < 0 || index > 7 || !valueShown_) return;
    // The other seven bits come from the labels, that is from the last read. The clicked label
    // itself changes only through the read-back, so a refused write leaves the panel true.
    int64_t value = 0;
    for (int b = 7; b >= 0; --b) {
        const bool set = lblBit[b]->text() != "0";
        if (b == index ? !set : set) value += int64_t{1} << b;
    }
    WriteValue(value);
}

void frmRegMap::txtDec_Change() {
    if (updating_) return;
    updating_ = true;
    txtHex->setText(Q(RegMapStuff::HexTextOfDecBox(Text(txtDec))));
    updating_ = false;
}

void frmRegMap::txtHex_Change() {
    if (updating_) return;
    updating_ = true;
    txtDec->setText(Q(RegMapStuff::DecTextOfHexBox(Text(txtHex))));
    updating_ = false;
}

void frmRegMap::txtDec_KeyDown(int keyCode, int) {
    if (keyCode == 13) cmdWrite_Click();
}

void frmRegMap::txtHex_KeyDown(int keyCode, int) {
    if (keyCode == 13) cmdWrite_Click();
}
