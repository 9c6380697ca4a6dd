#include "main/frmMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTime>

#include "main/DeviceLink.h"
#include "main/MessageBox.h"
#include "main/Numbers.h"
#include "main/RuntimeError.h"
#include "main/SharedState.h"
#include "main/Startup.h"
#include "main/frmSplash.h"

using Numbers::PixelsToTwips;
using Numbers::TwipsToPixels;

namespace {

struct ToolbarKey {
    const char* key;
    const char* tooltip;
    const char* glyph;
    QColor colour;
    bool opens;
    Windows::Kind kind;
};

const ToolbarKey kToolbar[] = {
    {"Save", "Save/Recall Configuration", "S", QColor(0x5b, 0x6b, 0x7b), false,
     Windows::Kind::Save},
    {"FanConfig", "Fan Configuration", "FC", QColor(0x2e, 0x75, 0xb6), true,
     Windows::Kind::FanConfig},
    {"Graphs", "Graphs", "G", QColor(0x38, 0x8e, 0x3c), true, Windows::Kind::Graph},
    {"RegMap", "Register Map", "R", QColor(0x6a, 0x1b, 0x9a), true, Windows::Kind::RegMap},
    {"Switches", "On-board Switches", "SW", QColor(0x8d, 0x6e, 0x63), true,
     Windows::Kind::Switches},
    {"GeneralConfig", "General Configuration", "GC", QColor(0x00, 0x83, 0x8f), true,
     Windows::Kind::GenConfig},
    {"GPIO", "GPIO", "IO", QColor(0x75, 0x75, 0x75), false, Windows::Kind::Save},
    {"Heaters", "Heaters", "H", QColor(0xd8, 0x43, 0x15), true, Windows::Kind::Heaters},
    {"AutoControl", "Automatic Fan Control", "A", QColor(0x1e, 0x88, 0xe5), true,
     Windows::Kind::AutoGraph},
    {"Alerts", "Limits/Interrupts", "!", QColor(0xc6, 0x28, 0x28), true, Windows::Kind::Limits},
};

// The toolbar's pictures: a coloured key with its letters.
QIcon ToolbarPicture(const ToolbarKey& key) {
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(key.colour);
    painter.setPen(key.colour.darker(140));
    painter.drawRoundedRect(QRectF(2, 2, 28, 28), 5, 5);
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(std::strlen(key.glyph) > 1 ? 12 : 16);
    painter.setFont(font);
    painter.drawText(QRect(0, 0, 32, 32), Qt::AlignCenter, key.glyph);
    return QIcon(picture);
}

float StoredBound(QSettings& settings, const char* key, float fallback) {
    bool ok = false;
    const float value =
        settings.value(key, QString::number(fallback)).toString().trimmed().toFloat(&ok);
    // A stored text that is not a number falls back to the default, not to an abandoned load.
    return ok ? value : fallback;
}

}  // namespace

frmMain::frmMain(QWidget* parent) : QMainWindow(parent) {
    setObjectName("frmMain");
    setWindowTitle(General::kProgramTitle);
    mdiArea_ = new QMdiArea(this);
    mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea_->setBackground(QColor(0x8a, 0x94, 0x9e));
    setCentralWidget(mdiArea_);

    tmrMaster = new QTimer(this);
    tmrMaster->setInterval(50);
    connect(tmrMaster, &QTimer::timeout, this, &frmMain::tmrMaster_Timer);

    BuildMenus();
    BuildToolbar();
    BuildStatusBar();

    Windows::SetHost([this](QWidget* window) { ShowChild(window); });
    USBStuff::SetFatalErrorSink({[this](bool running) { SetMasterTimerEnabled(running); },
                                 [this] {
                                     Windows::UnloadAll();
                                     MDIForm_Unload();
                                     Ui::EndProgram(1);
                                 }});
}

frmMain::~frmMain() {
    Windows::SetHost(nullptr);
    USBStuff::SetFatalErrorSink({});
    if (General::MainForm == this) General::MainForm = nullptr;
}

void frmMain::BuildMenus() {
    auto open = [](Windows::Kind kind) { return [kind] { Windows::Open(kind); }; };

    mnuFile = menuBar()->addMenu("File");
    mnuSave = mnuFile->addAction("Save/Recall Configuration", open(Windows::Kind::Save));
    mnuLog = mnuFile->addAction("Log Data to File", open(Windows::Kind::Logging));
    mnuLog->setEnabled(false);
    mnuExit = mnuFile->addAction("Exit", [] { Ui::EndProgram(0); });

    mnuView = menuBar()->addMenu("View");
    mnuRegMap = mnuView->addAction("Register Map", open(Windows::Kind::RegMap));
    mnuGraph = mnuView->addAction("Graphs", open(Windows::Kind::Graph));
    mnuLimits = mnuView->addAction("Limits/Interrupts", open(Windows::Kind::Limits));

    mnuConfig = menuBar()->addMenu("Configuration");
    mnuFanConfig = mnuConfig->addAction("Fan Configuration", open(Windows::Kind::FanConfig));
    mnuPECI = mnuConfig->addAction("PECI Configuration", open(Windows::Kind::PECI));
    mnuGenConfig = mnuConfig->addAction("General Configuration", open(Windows::Kind::GenConfig));
    mnuVoltage = mnuConfig->addAction("Voltage Configuration", open(Windows::Kind::VoltConfig));
    mnuTHERM = mnuConfig->addAction("THERM Configuration", open(Windows::Kind::Therm));

    mnuFanControl = menuBar()->addMenu("Fan Control");
    mnuAutoControl =
        mnuFanControl->addAction("Automatic Fan Control", open(Windows::Kind::AutoGraph));
    mnuDynTmin = mnuFanControl->addAction("Dynamic Tmin Control", open(Windows::Kind::DynamicTmin));
    mnuDynTmin->setEnabled(false);
    mnuManualControl =
        mnuFanControl->addAction("Manual Control", open(Windows::Kind::ManualControl));

    mnuBoard = menuBar()->addMenu("Hardware");
    mnuHeaters = mnuBoard->addAction("Heaters", open(Windows::Kind::Heaters));
    mnuSwitches = mnuBoard->addAction("Switches", open(Windows::Kind::Switches));

    mnuWindow = menuBar()->addMenu("Window");
    connect(mnuWindow, &QMenu::aboutToShow, this, &frmMain::FillWindowMenu);

    mnuAbout = menuBar()->addAction("About...", open(Windows::Kind::About));
}

void frmMain::FillWindowMenu() {
    mnuWindow->clear();
    for (QMdiSubWindow* sub : mdiArea_->subWindowList()) {
        QAction* item = mnuWindow->addAction(sub->windowTitle(), [this, sub] {
            sub->showNormal();
            mdiArea_->setActiveSubWindow(sub);
        });
        item->setCheckable(true);
        item->setChecked(sub == mdiArea_->activeSubWindow());
    }
}

void frmMain::BuildToolbar() {
    tbToolBar = addToolBar("Toolbar");
    tbToolBar->setObjectName("tbToolBar");
    tbToolBar->setMovable(false);
    tbToolBar->setIconSize(QSize(32, 32));
    for (const ToolbarKey& key : kToolbar) {
        QAction* button = tbToolBar->addAction(ToolbarPicture(key), key.tooltip);
        button->setObjectName(key.key);
        button->setToolTip(key.tooltip);
        button->setData(QString(key.key));
        connect(button, &QAction::triggered, this,
                [this, k = QString(key.key)] { tbToolBar_ButtonClick(k); });
    }
    tbToolBar->addSeparator();
    cmbDevices = new QComboBox(tbToolBar);
    cmbDevices->setObjectName("cmbDevices");
    cmbDevices->setEditable(false);
    cmbDevices->setMinimumContentsLength(14);
    tbToolBar->addWidget(cmbDevices);
    connect(cmbDevices, &QComboBox::activated, this, [this](int) { cmbDevices_Click(); });
}

QAction* frmMain::ToolbarButton(const QString& key) const {
    for (QAction* action : tbToolBar->actions())
        if (action->data().toString() == key) return action;
    return nullptr;
}

void frmMain::tbToolBar_ButtonClick(const QString& key) {
    for (const ToolbarKey& button : kToolbar) {
        if (key != button.key || !button.opens) continue;
        // The toolbar goes on past a window that fails to load; it simply does not appear.
        try {
            Windows::Open(button.kind);
        } catch (const std::exception&) {
        }
    }
}

void frmMain::BuildStatusBar() {
    sbStatusBar = statusBar();
    statusPanel_ = new QLabel("Status");
    datePanel_ = new QLabel;
    timePanel_ = new QLabel;
    for (QLabel* panel : {datePanel_, timePanel_}) {
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setMinimumWidth(90);
        panel->setAlignment(Qt::AlignCenter);
    }
    sbStatusBar->addWidget(statusPanel_, 1);
    sbStatusBar->addPermanentWidget(datePanel_);
    sbStatusBar->addPermanentWidget(timePanel_);
    auto showNow = [this] {
        datePanel_->setText(QLocale().toString(QDate::currentDate(), QLocale::ShortFormat));
        timePanel_->setText(QLocale().toString(QTime::currentTime(), QLocale::ShortFormat));
    };
    showNow();
    clock_ = new QTimer(this);
    clock_->setInterval(1000);
    connect(clock_, &QTimer::timeout, this, showNow);
    clock_->start();
}

void frmMain::SetStatusText(const QString& text) { statusPanel_->setText(text); }

QString frmMain::StatusText() const { return statusPanel_->text(); }

void frmMain::ShowChild(QWidget* window) {
    // A window sets its own size and, where it places itself, its position. Its frame takes the
    // size before it is shown, so that the area places the whole window and not a small default
    // one that the window then outgrows.
    const QSize wanted = window->size();
    const bool placed = window->testAttribute(Qt::WA_Moved);
    const QPoint position = window->pos();
    QMdiSubWindow* frame = mdiArea_->addSubWindow(window);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    const QMargins border = frame->contentsMargins();
    frame->resize(wanted.grownBy(border));
    if (placed) frame->move(position);
    frame->show();
    KeepInsideClientArea(frame);
    mdiArea_->setActiveSubWindow(frame);
}

void frmMain::KeepInsideClientArea(QWidget* frame) const {
    // A window that fits lies wholly inside; a larger one keeps its title bar and left edge in
    // sight.
    const QRect client = mdiArea_->viewport()->rect();
    const QRect at = frame->geometry();
    const int x = std::max(0, std::min(at.x(), client.width() - at.width()));
    const int y = std::max(0, std::min(at.y(), client.height() - at.height()));
    if (x != at.x() || y != at.y()) frame->move(x, y);
}

void frmMain::ShowMaximized() {
    showMaximized();
    // Without a window manager nothing acts on the request to maximize: the window then fills
    // the screen's available area itself. That makes it an un-maximized window of the screen's
    // size as far as the toolkit goes, so the normal geometry from before is kept here.
    QTimer::singleShot(kWindowManagerGraceMs, this, [this] {
        const QScreen* screen = this->screen();
        if (!screen || !isMaximized() || frameGeometry().contains(screen->availableGeometry()))
            return;
        const QRect normal = normalGeometry();
        setGeometry(screen->availableGeometry());
        filledGeometry_ = geometry();
        normalBeforeFill_ = normal;
    });
}

QRect frmMain::NormalBounds() const {
    const QRect normal = normalGeometry();
    return filledGeometry_ && normal == *filledGeometry_ ? normalBeforeFill_ : normal;
}

QMargins frmMain::FrameMargins() const {
    const QRect outer = frameGeometry(), inner = geometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

QRect frmMain::LoadedOuterBounds() const {
    return QRect(TwipsToPixels(loadedBounds_[0]), TwipsToPixels(loadedBounds_[1]),
                 std::max(1, TwipsToPixels(loadedBounds_[2])),
                 std::max(1, TwipsToPixels(loadedBounds_[3])));
}

void frmMain::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    NoteNormalFrame();
}

void frmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    NoteNormalFrame();
}

void frmMain::NoteNormalFrame() {
    if (windowState() != Qt::WindowNoState || !isVisible()) return;
    const QMargins margins = FrameMargins();
    if (margins.isNull()) return;  // not framed yet, or no window manager to frame it
    normalMargins_ = margins;
    // The first time the window stands un-maximized in its frame at the stored size: the stored
    // bounds are outer bounds, so it takes the size that puts its frame on them. (The size is
    // checked because a window manager's state change can arrive after its new geometry.)
    if (loadedGeometry_.isValid() && !outerSizeApplied_ && size() == loadedGeometry_.size()) {
        outerSizeApplied_ = true;
        const QSize inner = LoadedOuterBounds().size().shrunkBy(margins);
        if (inner.isValid()) resize(inner);
    }
}

void frmMain::SetMasterTimerEnabled(bool enabled) {
    if (enabled)
        tmrMaster->start();
    else
        tmrMaster->stop();
}

void frmMain::tmrMaster_Timer() {
    // A message box inside a task runs its own event loop; no tick may start inside it.
    if (inTick_) return;
    inTick_ = true;
    struct Release {
        bool& flag;
        ~Release() { flag = false; }
    } release{inTick_};
    tasks_.Tick();
}

void frmMain::ScanBus(const char* suffix) {
    for (int32_t address = 0x20; address <= 0x60; address += 2)
        if (USBStuff::ReadRegister(address, 0x3E) == 0x41)
            cmbDevices->addItem(QString::fromStdString(Numbers::Hex(address)) + suffix);
}

void frmMain::MDIForm_Load() {
    using General::Delay;
    {
        QSettings settings;
        settings.beginGroup("Settings");
        loadedBounds_ = {
            StoredBound(settings, "MainLeft", 1000), StoredBound(settings, "MainTop", 1000),
            StoredBound(settings, "MainWidth", 6500), StoredBound(settings, "MainHeight", 6500)};
        // The outer bounds: the position is the frame's. Until a window manager frames the
        // window its frame adds nothing, so the size is taken as the window's own; the window
        // takes the exact outer size once it stands un-maximized in a frame (NoteNormalFrame).
        move(TwipsToPixels(loadedBounds_[0]), TwipsToPixels(loadedBounds_[1]));
        resize(std::max(1, TwipsToPixels(loadedBounds_[2])),
               std::max(1, TwipsToPixels(loadedBounds_[3])));
        loadedGeometry_ = geometry();
    }
    // Maximizing keeps the geometry just set as the normal one, which un-maximizing returns to.
    setWindowState(windowState() | Qt::WindowMaximized);
    setWindowTitle(General::kProgramTitle);

    frmSplash* splash = splash_;
    const int unit = frmSplash::kProgressDesignWidthTwips / 100;
    auto progress = [splash](int twips) {
        if (splash) splash->SetProgressWidthTwips(twips);
    };
    auto info = [splash](const QString& text) {
        if (splash) splash->SetProgInfo(text);
    };
    progress(0);
    info("Downloading Firmware...");
    if (splash) {
        splash->lblProgInfo->setVisible(true);
        splash->lblProgress->setVisible(true);
    }
    info("Enumerating...");
    int width = 0;
    do {
        width += unit;
        progress(width);
        Delay(50);
        QCoreApplication::processEvents();
    } while (width < 30 * unit);

    if (General::UsbBoardPresent) {
        info("Connecting...");
        USBStuff::LinkType = USBStuff::kLinkUsb;
        USBStuff::WriteBoardControl(0x30, 0x33);
        Delay(200);
        QCoreApplication::processEvents();
    }

    progress(50 * unit);
    const QString name = QString::fromStdString(General::DeviceName);
    if (General::UsbBoardPresent) {
        USBStuff::LinkType = USBStuff::kLinkUsb;
        info("Searching for " + name + " on USB...");
        Delay(1000);
        ScanBus("h on USB");
    }
    progress(75 * unit);
    if (General::SMBusPresent) {
        USBStuff::LinkType = USBStuff::kLinkSmbus;
        info("Searching for " + name + " on SMBus...");
        Delay(1000);
        ScanBus("h on SMBus");
    }
    progress(100 * unit);

    if (cmbDevices->count() > 0) {
        cmbDevices->setCurrentIndex(0);
        cmbDevices_Click();
    } else {
        Ui::Message("Failed to find any Quorvex devices", Ui::Icon::Critical);
        Ui::EndProgram(0);
    }
    if (splash) splash->lblProgInfo->repaint();
    Delay(1000);
}

void frmMain::cmbDevices_Click() {
    const QString entry = cmbDevices->currentText();
    USBStuff::DeviceAddress = Numbers::HexPrefix(entry.toStdString());
    if (entry.contains("USB")) {
        USBStuff::LinkType = USBStuff::kLinkUsb;
        mnuBoard->menuAction()->setEnabled(true);
    }
    if (entry.contains("SMBus")) {
        USBStuff::LinkType = USBStuff::kLinkSmbus;
        mnuBoard->menuAction()->setEnabled(false);
    }
}

void frmMain::MDIForm_Unload() {
    if (isMinimized()) return;
    // The outer bounds of the normal geometry, maximized or not; bounds the user has not changed
    // go back exactly as they were read, so that they do not creep by a rounding.
    const QMargins frame = windowState() == Qt::WindowNoState ? FrameMargins() : normalMargins_;
    const QRect outer = NormalBounds() + frame;
    std::array<float, 4> bounds = loadedBounds_;
    if (!loadedGeometry_.isValid() || outer != LoadedOuterBounds())
        bounds = {static_cast<float>(PixelsToTwips(outer.x())),
                  static_cast<float>(PixelsToTwips(outer.y())),
                  static_cast<float>(PixelsToTwips(outer.width())),
                  static_cast<float>(PixelsToTwips(outer.height()))};
    QSettings settings;
    settings.beginGroup("Settings");
    const char* const keys[] = {"MainLeft", "MainTop", "MainWidth", "MainHeight"};
    for (size_t i = 0; i < bounds.size(); ++i)
        settings.setValue(keys[i], QString::fromStdString(Numbers::ShortestText(bounds[i])));
    settings.endGroup();
    settings.sync();
}

void frmMain::closeEvent(QCloseEvent* event) {
    SetMasterTimerEnabled(false);
    Windows::UnloadAll();
    MDIForm_Unload();
    event->accept();
}
