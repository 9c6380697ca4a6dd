// A window that shows the four controls filled with data, to look at them by eye:
//   controls_demo [screenshot.png]
// With a file name it saves a picture of itself after a moment and quits.
#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "platform/controls/Gauge.h"
#include "platform/controls/Lamp.h"
#include "platform/controls/Slider.h"
#include "platform/controls/StripChart.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle("Controls");
    auto* grid = new QGridLayout(&window);

    // A time chart fed for longer than its ring holds, at the graph task's 50 ms.
    auto* chart = new Controls::StripChart;
    double now = 45000.0;
    chart->SetClock([&now] { return now; });
    chart->SetTimeFormat("%H %M %S");
    chart->setToolTip("Drag the arrows at the edges of this graph to zoom in and out");
    chart->SetLegendHeading(0, QString::fromUtf8("Temperature (°C)"));
    chart->SetLegendHeading(5, "Fan Speed (RPM)");
    const char* temps[] = {"Remote1", "Local", "Remote2"};
    for (int k = 0; k < 3; ++k) chart->SetChannelName(k, temps[k]);
    for (int k = 0; k < 4; ++k) {
        chart->SetChannelName(4 + k, QString("Tach%1").arg(k + 1));
        chart->SetChannelAxis(4 + k, 1);
        chart->SelectLabel(6 + k);
        chart->SetLabelChannel(4 + k);
    }
    chart->SelectLabel(4);
    chart->SetLabelChannel(-1);
    chart->SetAxisRange(0, -20, 120);
    chart->SetAxisRange(1, 0, 6000);
    chart->SetSpan(60);
    for (int i = 0; i < 6000; ++i) {
        now += 0.05;
        const double t = i * 0.05;
        chart->AppendValue(0, 45 + 10 * std::sin(t / 7));
        chart->AppendValue(1, 32 + 2 * std::sin(t / 3) + (i % 37 == 0 ? 3 : 0));
        chart->AppendValue(2, 60 + 15 * std::sin(t / 11 + 1));
        for (int k = 0; k < 4; ++k)
            chart->AppendValue(4 + k, 1500 + 600 * k + 300 * std::sin(t / (5 + k)));
    }
    for (int k = 0; k < 3; ++k) {
        chart->SelectLabel(k + 1);
        chart->SetLabelCaption(QString::fromUtf8("%1 = %2°C").arg(temps[k]).arg(25.75 + k * 3));
    }
    for (int k = 0; k < 4; ++k) {
        chart->SelectLabel(k + 6);
        chart->SetLabelCaption(QString("Tach%1=%2").arg(k + 1).arg(2350 + 500 * k));
    }
    chart->setMinimumSize(689, 330);
    grid->addWidget(chart, 0, 0, 1, 4);

    // An XY chart like the fan control curve: lines, a hysteresis step and an operating point.
    auto* curve = new Controls::StripChart;
    curve->SetLegendTitle("Controlled By:");
    curve->SelectLabel(0);
    curve->SetLabelCaption("PWM1");
    curve->SelectLabel(1);
    curve->SetLabelCaption("Local");
    curve->SelectLabel(2);
    curve->SetLabelCaption("Remote1");
    curve->SetSpan(150);
    curve->SetRightEdge(130);
    const double pts[][2] = {{-20, 0},  {40, 0},    {40, 30},  {54, 80},
                             {100, 80}, {100, 100}, {129, 100}};
    for (auto& p : pts) curve->AddXY(0, p[0], p[1]);
    const double pts2[][2] = {{-20, 30}, {50, 30}, {65, 90}, {129, 90}};
    for (auto& p : pts2) curve->AddXY(1, p[0], p[1]);
    curve->AddXY(14, 36, 0);
    curve->AddXY(14, 36, 30);
    curve->AddXY(14, 40, 30);
    curve->AddXY(7, 47, 55);
    curve->AddXY(7, 47, 55);
    curve->setMinimumSize(460, 260);
    grid->addWidget(curve, 1, 0, 3, 1);

    auto* gauge = new Controls::Gauge;
    gauge->SetScale(-64, 191);
    gauge->SetValue(1, 47.25);
    gauge->SetValue(2, 10);
    gauge->SetValue(3, 85);
    gauge->SetValue(4, 100);
    gauge->SetCaption(QString::fromUtf8(" 47.25°C"));
    gauge->setToolTip("Drag the sliders to change the limits");
    gauge->setFixedSize(88, 249);
    grid->addWidget(gauge, 1, 1, 3, 1);

    auto* volt = new Controls::Gauge;
    volt->SetScale(0, 4.38);
    volt->SetValue(0, 4.38);
    volt->SetValue(1, 3.31);
    volt->SetValue(2, 2.97);
    volt->SetValue(3, 3.63);
    volt->SetMarkerVisible(4, false);
    volt->SetCaption(" 3.31V");
    volt->setFixedSize(88, 249);
    grid->addWidget(volt, 1, 2, 3, 1);

    auto* side = new QVBoxLayout;
    const char* lampNames[] = {"Remote 1 Temp", "Local Temp", "Remote 2 Temp", "THERM"};
    for (int i = 0; i < 4; ++i) {
        auto* lamp = new Controls::Lamp;
        lamp->SetValue(i == 2);
        lamp->SetCaption(lampNames[i]);
        side->addWidget(lamp);
    }
    for (int i = 0; i < 3; ++i) {
        auto* row = new QLabel(QString("PWM%1").arg(i + 1));
        side->addWidget(row);
        auto* slider = new Controls::Slider;
        slider->SetValue(20 + 30 * i);
        slider->setEnabled(i != 1);
        side->addWidget(slider);
    }
    auto* vertical = new Controls::Slider;
    vertical->SetOrientation(Qt::Vertical);
    vertical->SetValue(35);
    vertical->setFixedHeight(120);
    side->addWidget(vertical);
    side->addStretch();
    grid->addLayout(side, 1, 3, 3, 1);

    // A chart whose value labels sit beside their traces, placed from the axis as a window
    // does it: a value at the axis minimum goes to AxisLabelLow, one at the maximum near the top.
    auto* dyn = new Controls::StripChart;
    double dynNow = 45000.0;
    dyn->SetClock([&dynNow] { return dynNow; });
    dyn->SetTimeFormat("%H %M %S");
    dyn->SelectLabel(0);
    dyn->SetLabelCaption("Remote2");
    const char* dynNames[] = {"Temp", "Op-Point", "Tmin", "High Limit", "Low Limit"};
    for (int k = 0; k < 5; ++k) {
        dyn->SelectLabel(k + 1);
        dyn->SetLabelCaption(dynNames[k]);
    }
    dyn->SelectLabel(9);
    dyn->SetLabelCaption(QString::fromUtf8("°C"));
    dyn->SelectLabel(10);
    dyn->SetLabelCaption("% Duty");
    dyn->SetLabelChannel(-1);
    dyn->SetAxisRange(0, 0, 120);
    dyn->SetAxisRange(1, 0, 100);
    for (int k = 5; k < 9; ++k) dyn->SetChannelAxis(k, 1);
    dyn->SetSpan(60);
    for (int i = 0; i < 1500; ++i) {
        dynNow += 0.1;
        dyn->AppendValue(0, 52 + 6 * std::sin(i / 60.0));
        dyn->AppendValue(1, 85);
        dyn->AppendValue(2, 40);
        dyn->AppendValue(3, 45);
        dyn->AppendValue(4, 31);
        dyn->AppendValue(5, 30 + 20 * std::sin(i / 90.0));
        dyn->AppendValue(6, 0);
        dyn->AppendValue(9, 83);
    }
    auto placeLabels = [dyn] {
        const double values[] = {52, 85, 40, 45, 31};
        dyn->SelectAxis(0);
        const float top = dyn->AxisLabelLow();
        const double a = dyn->AxisMin(), b = dyn->AxisMax();
        const float scale = float((0.03 - top) / (b - a));
        const float offset = float(((top + 0.03) - (a + b) * scale) / 2);
        for (int ch = 0; ch < 5; ++ch) {
            dyn->SelectLabel(ch + 1);
            dyn->SetLabelPosition(std::clamp(float(values[ch] * scale + offset), 0.03f, top));
        }
        dyn->SelectAxis(1);
        const float steps[] = {0.04f, 0.06f, 0.08f, 0.10f};
        const int labels[] = {6, 7, 8, 11};
        for (int i = 0; i < 4; ++i) {
            dyn->SelectLabel(labels[i]);
            dyn->SetLabelPosition(dyn->AxisLabelHigh() + steps[i]);
        }
    };
    const char* fans[] = {"PWM1", "x", "x", "x"};
    const int fanLabels[] = {6, 7, 8, 11};
    for (int i = 0; i < 4; ++i) {
        dyn->SelectLabel(fanLabels[i]);
        dyn->SetLabelCaption(fans[i]);
        dyn->SetLabelChannel(i + 5);
        dyn->SetLabelVisible(i == 0);
    }
    QObject::connect(dyn, &Controls::StripChart::AxisChanged, dyn, placeLabels);
    dyn->setMinimumSize(689, 330);
    grid->addWidget(dyn, 4, 0, 1, 4);

    window.show();
    if (argc > 1) {
        const QString file = argv[1];
        QTimer::singleShot(800, [&window, file] {
            window.grab().save(file);
            QApplication::quit();
        });
    }
    return app.exec();
}
