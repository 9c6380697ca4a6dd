#include "main/frmSplash.h"

#include <QCoreApplication>
#include <QFrame>
#include <QVBoxLayout>

#include "main/Numbers.h"
#include "main/SharedState.h"
#include "main/Version.h"

using Numbers::TwipsToPixels;

frmSplash::frmSplash(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName("frmSplash");
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(0xF4, 0xF6, 0xF8));
    setPalette(palette);
    resize(TwipsToPixels(7200), TwipsToPixels(4200));

    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    frame->setGeometry(TwipsToPixels(120), TwipsToPixels(120), TwipsToPixels(6960), TwipsToPixels(3960));

    // Two pictures: a chip drawn in plain shapes, and the maker's band along the top.
    auto* band = new QLabel(frame);
    band->setGeometry(0, 0, TwipsToPixels(6960), TwipsToPixels(300));
    band->setStyleSheet("background: #1f4e79;");
    auto* chip = new QLabel(frame);
    chip->setGeometry(TwipsToPixels(360), TwipsToPixels(720), TwipsToPixels(1200), TwipsToPixels(1200));
    chip->setStyleSheet("background: #2b2b2b; border: 3px solid #9aa5b1; border-radius: 4px;");

    lblProductName = new QLabel("Product", frame);
    lblProductName->setGeometry(TwipsToPixels(1800), TwipsToPixels(600), TwipsToPixels(4900), TwipsToPixels(600));
    QFont title = lblProductName->font();
    title.setPointSize(title.pointSize() + 6);
    title.setBold(true);
    lblProductName->setFont(title);

    lblVersion = new QLabel("Version", frame);
    lblVersion->setGeometry(TwipsToPixels(1800), TwipsToPixels(1260), TwipsToPixels(3000), TwipsToPixels(300));
    lblPlatform = new QLabel("Windows XP/2000", frame);
    lblPlatform->setGeometry(TwipsToPixels(1800), TwipsToPixels(1620), TwipsToPixels(3000), TwipsToPixels(300));

    // Four lines round the progress area.
    for (int y : {2280, 3480}) {
        auto* line = new QFrame(frame);
        line->setFrameShape(QFrame::HLine);
        line->setGeometry(TwipsToPixels(360), TwipsToPixels(y), TwipsToPixels(6240), 2);
    }
    for (int x : {360, 6600}) {
        auto* line = new QFrame(frame);
        line->setFrameShape(QFrame::VLine);
        line->setGeometry(TwipsToPixels(x), TwipsToPixels(2280), 2, TwipsToPixels(1200));
    }

    lblProgInfo = new QLabel(frame);
    lblProgInfo->setGeometry(TwipsToPixels(600), TwipsToPixels(2460), TwipsToPixels(5800), TwipsToPixels(300));
    lblProgInfo->setVisible(false);
    lblProgress = new QLabel(frame);
    lblProgress->setGeometry(TwipsToPixels(600), TwipsToPixels(2940), 0, TwipsToPixels(240));
    lblProgress->setStyleSheet("background: #2e75b6;");
    lblProgress->setVisible(false);

    Form_Load();
}

void frmSplash::Form_Load() {
    move(TwipsToPixels(2000), TwipsToPixels(2000));
    lblVersion->setText(QString::fromStdString(QuorvexVersionText("Version ")));
    lblProductName->setText(General::kProgramTitle);
}

void frmSplash::SetProgressWidthTwips(int twips) {
    progressTwips_ = twips;
    lblProgress->resize(TwipsToPixels(twips), lblProgress->height());
}

void frmSplash::SetProgInfo(const QString& text) {
    lblProgInfo->setText(text);
    lblProgInfo->repaint();
}
