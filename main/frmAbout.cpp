#include "main/frmAbout.h"

#include <QDesktopServices>
#include <QEvent>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <algorithm>

#include "main/Numbers.h"
#include "main/Startup.h"
#include "main/Version.h"
#include "main/Windows.h"
#include "main/frmMain.h"

using Numbers::TwipsToPixels;

namespace {

constexpr double kWidthTwips = 6600;
constexpr double kHeightTwips = 3600;
constexpr double kAboveCentreTwips = 1500;

frmAbout::UrlOpener& Opener() {
    static frmAbout::UrlOpener opener;
    return opener;
}

void SetTextColour(QLabel* label, QRgb colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(colour));
    label->setPalette(palette);
}

QLabel* MakeLink(const QString& text, QWidget* parent) {
    auto* link = new QLabel(text, parent);
    QFont font = link->font();
    font.setUnderline(true);
    link->setFont(font);
    link->setCursor(Qt::PointingHandCursor);
    SetTextColour(link, frmAbout::kLinkColour);
    return link;
}

}  // namespace

frmAbout::frmAbout(QWidget* parent) : QWidget(parent) {
    setObjectName("frmAbout");
    setWindowTitle("About the  Quorvex Software");

    Frame1 = new QGroupBox(this);
    Label1 = new QLabel("Quorvex Evaluation Software Version 1.0.0 ", Frame1);
    Label2 = new QLabel("Evaluation software for the Quorvex by Halvern Inc.", Frame1);
    Label4 = new QLabel("For information on Systems Management devices click", Frame1);
    lblSensorInfo = MakeLink("here", Frame1);
    Label5 = new QLabel("Visit Halvern Inc. on the web at", Frame1);
    Label6 = MakeLink("www.halvern.example", Frame1);
    lblSensorInfo->installEventFilter(this);
    Label6->installEventFilter(this);

    auto* texts = new QVBoxLayout(Frame1);
    texts->addWidget(Label1);
    texts->addWidget(Label2);
    auto* sensorRow = new QHBoxLayout;
    sensorRow->addWidget(Label4);
    sensorRow->addWidget(lblSensorInfo);
    sensorRow->addStretch(1);
    texts->addLayout(sensorRow);
    auto* homeRow = new QHBoxLayout;
    homeRow->addWidget(Label5);
    homeRow->addWidget(Label6);
    homeRow->addStretch(1);
    texts->addLayout(homeRow);

    cmdOK = new QPushButton("OK", this);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1, 1);
    layout->addLayout(buttons);

    resize(TwipsToPixels(kWidthTwips), TwipsToPixels(kHeightTwips));
    if (General::MainForm) {
        const QSize client = General::MainForm->MdiArea()->size();
        move(Placement(Numbers::PixelsToTwips(General::MainForm->width()),
                       Numbers::PixelsToTwips(General::MainForm->height()), kWidthTwips,
                       kHeightTwips, client.width(), client.height()));
    }
    Label1->setText(
        QString::fromStdString(QuorvexVersionText("Quorvex Evaluation Software Version ")));
}

QPoint frmAbout::Placement(double mainWidth, double mainHeight, double ownWidth, double ownHeight,
                           int clientWidth, int clientHeight) {
    const auto left = static_cast<float>(mainWidth / 2 - ownWidth / 2);
    const auto top = static_cast<float>(mainHeight / 2 - ownHeight / 2 - kAboveCentreTwips);
    // The whole window stays in view where it fits; a larger one keeps at least its title bar.
    const int maxLeft = std::max(0, clientWidth - TwipsToPixels(ownWidth));
    const int maxTop = std::max(0, clientHeight - TwipsToPixels(ownHeight));
    return {std::clamp(TwipsToPixels(left), 0, maxLeft), std::clamp(TwipsToPixels(top), 0, maxTop)};
}

void frmAbout::SetUrlOpener(UrlOpener opener) { Opener() = std::move(opener); }

void frmAbout::cmdOK_Click() { Windows::Close(this); }

void frmAbout::lblSensorInfo_Click() { OpenLink(lblSensorInfo, kSensorInfoUrl); }

void frmAbout::Label6_Click() { OpenLink(Label6, kHomeUrl); }

void frmAbout::OpenLink(QLabel* link, const char* url) {
    // A page that cannot be opened (no browser) is not reported.
    const QUrl address(QString::fromLatin1(url));
    if (Opener())
        Opener()(address);
    else
        QDesktopServices::openUrl(address);
    SetTextColour(link, kVisitedColour);
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == lblSensorInfo) {
            lblSensorInfo_Click();
            return true;
        }
        if (watched == Label6) {
            Label6_Click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
