#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QScreen>
#include <cmath>
#include <limits>

#include "platform/controls/StripChart.h"
#include "tests/platform/controls/SignalLog.h"

using Controls::StripChart;

namespace {

// A chart of a known size whose clock the test moves.
struct ClockedChart {
    StripChart chart;
    double now = 1000.0;
    ClockedChart() {
        chart.resize(600, 300);
        chart.SetClock([this] { return now; });
    }
};

QImage Render(QWidget& w) {
    QImage img(w.size(), QImage::Format_ARGB32);
    img.fill(Qt::black);
    w.render(&img);
    return img;
}

// Channel 0 draws in a strong red; the plot and panel are dark grey.
bool IsChannel0(QRgb c) {
    return qRed(c) > 150 && qRed(c) > qGreen(c) + 70 && qRed(c) > qBlue(c) + 70;
}

// Rows in column x where channel 0's trace is drawn.
std::vector<int> Channel0Rows(const QImage& img, int x) {
    std::vector<int> rows;
    for (int y = 0; y < img.height(); ++y)
        if (IsChannel0(img.pixel(x, y))) rows.push_back(y);
    return rows;
}

// The image row where a value of axis 0 is drawn, from the chart's own label positions.
int RowOf(const StripChart& chart, double value) {
    const double top = chart.AxisLabelHigh() * chart.height();
    const double bottom = chart.AxisLabelLow() * chart.height();
    return int(bottom -
               (value - chart.AxisMin()) / (chart.AxisMax() - chart.AxisMin()) * (bottom - top));
}

int Channel0PixelsIn(const QImage& img, const QRect& r) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (IsChannel0(img.pixel(x, y))) ++n;
    return n;
}

}  // namespace

TEST(StripChartRing, KeepsAFixedNumberOfPointsPerChannel) {
    ClockedChart c;
    for (int i = 0; i < 3 * StripChart::kPointsPerChannel + 7; ++i) {
        c.now += 0.05;
        c.chart.AppendValue(0, i);
    }
    c.chart.AppendValue(1, 5);
    EXPECT_EQ(c.chart.PointCount(0), StripChart::kPointsPerChannel);
    EXPECT_EQ(c.chart.PointCount(1), 1);
    EXPECT_EQ(c.chart.PointCount(2), 0);
}

TEST(StripChartRing, TheOldestPointsMakeRoomForTheNewest) {
    // Old points high, newer points low: once the ring wraps, only the low run remains; a ring
    // that kept its oldest points or mixed up its start would still draw the high run.
    ClockedChart c;
    c.chart.SetAxisRange(0, 0, 100);
    c.chart.SetSpan(8200);
    for (int i = 0; i < StripChart::kPointsPerChannel; ++i) {
        c.now += 1;
        c.chart.AppendValue(0, 90);
    }
    for (int i = 0; i < StripChart::kPointsPerChannel; ++i) {
        c.now += 1;
        c.chart.AppendValue(0, 10);
    }
    const QImage img = Render(c.chart);
    const int y90 = RowOf(c.chart, 90), y10 = RowOf(c.chart, 10);
    EXPECT_EQ(Channel0PixelsIn(img, QRect(50, y90 - 3, 450, 7)), 0);
    EXPECT_GT(Channel0PixelsIn(img, QRect(50, y10 - 3, 450, 7)), 0);
}

TEST(StripChartRing, ClearAllEmptiesEveryChannel) {
    ClockedChart c;
    for (int ch = 0; ch < StripChart::kChannels; ++ch) c.chart.AddXY(ch, ch, ch);
    c.chart.ClearAll();
    for (int ch = 0; ch < StripChart::kChannels; ++ch) EXPECT_EQ(c.chart.PointCount(ch), 0) << ch;
    c.chart.AddXY(3, 1, 1);
    EXPECT_EQ(c.chart.PointCount(3), 1);
}

TEST(StripChartRing, ChannelsOutsideTheChartAreIgnored) {
    ClockedChart c;
    for (int16_t ch : {int16_t(-1), int16_t(StripChart::kChannels), int16_t(32767)}) {
        c.chart.AppendValue(ch, 1);
        c.chart.AddXY(ch, 1, 1);
        c.chart.SetChannelAxis(ch, 1);
        c.chart.SetChannelName(ch, "x");
        EXPECT_EQ(c.chart.PointCount(ch), 0);
    }
    Render(c.chart);  // and nothing to draw for them
}

TEST(StripChartTime, RightEdgeFollowsTheNewestAppendedValue) {
    ClockedChart c;
    c.chart.AppendValue(0, 1);
    EXPECT_EQ(c.chart.RightEdge(), 0);  // seconds since the first value
    c.now += 12.4;
    c.chart.AppendValue(2, 1);
    EXPECT_EQ(c.chart.RightEdge(), 12);
    c.now += 30;
    EXPECT_EQ(c.chart.RightEdge(), 12) << "an idle chart does not move";
}

TEST(StripChartTime, ClearingKeepsTheTimeLine) {
    ClockedChart c;
    c.chart.AppendValue(0, 1);
    c.now += 20;
    c.chart.AppendValue(0, 1);
    c.chart.ClearAll();
    EXPECT_EQ(c.chart.RightEdge(), 20);
    c.now += 5;
    c.chart.AppendValue(0, 1);
    EXPECT_EQ(c.chart.RightEdge(), 25);
}

TEST(StripChartScale, SpanAndRightEdgeReadBackWithoutAnEvent) {
    ClockedChart c;
    SignalLog<> spy(&c.chart, &StripChart::AxisChanged);
    c.chart.SetSpan(150);
    c.chart.SetRightEdge(130);
    EXPECT_EQ(c.chart.Span(), 150);
    EXPECT_EQ(c.chart.RightEdge(), 130);
    c.chart.SetRightEdge(-120);
    EXPECT_EQ(c.chart.RightEdge(), -120);
    EXPECT_EQ(spy.count(), 0);
}

TEST(StripChartScale, SpanBelowOneIsRefused) {
    ClockedChart c;
    c.chart.SetSpan(40);
    c.chart.SetSpan(0);
    c.chart.SetSpan(-5);
    EXPECT_EQ(c.chart.Span(), 40);
}

TEST(StripChartDrag, LeftEdgeChangesTheSpanAndKeepsTheRightEdge) {
    ClockedChart c;
    c.chart.SetSpan(150);
    c.chart.SetRightEdge(130);
    SignalLog<> spy(&c.chart, &StripChart::AxisChanged);
    c.chart.DragLeftEdgeBy(100);  // zoom in
    EXPECT_LT(c.chart.Span(), 150);
    EXPECT_GT(c.chart.Span(), 0);
    EXPECT_EQ(c.chart.RightEdge(), 130);
    EXPECT_EQ(spy.count(), 1);
    const int16_t narrowed = c.chart.Span();
    c.chart.DragLeftEdgeBy(-100);  // and out again
    EXPECT_GT(c.chart.Span(), narrowed);
    EXPECT_EQ(c.chart.RightEdge(), 130);
}

TEST(StripChartDrag, RightEdgeMovesAndKeepsTheLeftEdge) {
    ClockedChart c;
    c.chart.SetSpan(150);
    c.chart.SetRightEdge(130);
    c.chart.DragRightEdgeBy(-120);
    EXPECT_LT(c.chart.RightEdge(), 130);
    EXPECT_EQ(c.chart.RightEdge() - c.chart.Span(), -20);
}

TEST(StripChartDrag, NoMovementNoEvent) {
    ClockedChart c;
    SignalLog<> spy(&c.chart, &StripChart::AxisChanged);
    c.chart.DragLeftEdgeBy(0);
    c.chart.DragRightEdgeBy(0);
    EXPECT_EQ(spy.count(), 0);
}

TEST(StripChartDrag, SpanStaysWithinItsSixteenBits) {
    ClockedChart c;
    c.chart.SetSpan(100);
    c.chart.SetRightEdge(0);
    c.chart.DragLeftEdgeBy(100000);
    EXPECT_EQ(c.chart.Span(), 1);
    c.chart.SetSpan(8200);
    c.chart.DragLeftEdgeBy(-100000);
    EXPECT_EQ(c.chart.Span(), std::numeric_limits<int16_t>::max());
}

TEST(StripChartDrag, ADisabledChartIgnoresTheUser) {
    ClockedChart c;
    c.chart.SetSpan(100);
    c.chart.setEnabled(false);
    c.chart.DragLeftEdgeBy(50);
    EXPECT_EQ(c.chart.Span(), 100);
}

TEST(StripChartDrag, DraggingTheRightEdgeBackStopsFollowingUntilDraggedToTheEnd) {
    ClockedChart c;
    c.chart.SetSpan(60);
    for (int i = 0; i < 100; ++i) {
        c.now += 1;
        c.chart.AppendValue(0, i);
    }
    ASSERT_EQ(c.chart.RightEdge(), 99);
    c.chart.DragRightEdgeBy(-200);
    const int16_t held = c.chart.RightEdge();
    EXPECT_LT(held, 99);
    c.now += 10;
    c.chart.AppendValue(0, 1);
    EXPECT_EQ(c.chart.RightEdge(), held) << "the view stays where the user left it";
    c.chart.DragRightEdgeBy(2000);
    c.now += 10;
    c.chart.AppendValue(0, 1);
    EXPECT_EQ(c.chart.RightEdge(), 119) << "dragged to the end, it follows again";
}

TEST(StripChartAxes, RangesReadBackForTheSelectedAxis) {
    ClockedChart c;
    SignalLog<> spy(&c.chart, &StripChart::AxisChanged);
    c.chart.SetAxisRange(0, -20, 120);
    c.chart.SetAxisRange(1, 0, 100);
    EXPECT_EQ(spy.count(), 2);
    c.chart.SelectAxis(1);
    EXPECT_EQ(c.chart.AxisMin(), 0);
    EXPECT_EQ(c.chart.AxisMax(), 100);
    c.chart.SelectAxis(0);
    EXPECT_EQ(c.chart.AxisMin(), -20);
    EXPECT_EQ(c.chart.AxisMax(), 120);
    c.chart.SelectAxis(2);  // no such axis: the selection stays
    EXPECT_EQ(c.chart.AxisMin(), -20);
}

TEST(StripChartAxes, AnEmptyOrReversedRangeIsRefused) {
    ClockedChart c;
    c.chart.SetAxisRange(0, 10, 50);
    SignalLog<> spy(&c.chart, &StripChart::AxisChanged);
    c.chart.SetAxisRange(0, 50, 50);
    c.chart.SetAxisRange(0, 60, 50);
    c.chart.SetAxisRange(0, 0, std::numeric_limits<double>::quiet_NaN());
    c.chart.SetAxisRange(0, 10, 50);  // unchanged
    EXPECT_EQ(c.chart.AxisMin(), 10);
    EXPECT_EQ(c.chart.AxisMax(), 50);
    EXPECT_EQ(spy.count(), 0);
}

TEST(StripChartAxes, ResizingRaisesTheAxisEventAndMovesTheLabelPositions) {
    ClockedChart c;
    c.chart.show();
    QApplication::processEvents();
    const float low = c.chart.AxisLabelLow();
    SignalLog<> spy(&c.chart, &StripChart::AxisChanged);
    c.chart.resize(600, 500);
    QApplication::processEvents();
    EXPECT_GE(spy.count(), 1);
    EXPECT_NE(c.chart.AxisLabelLow(), low);
}

TEST(StripChartAxes, LabelPositionsAreWhereTheAxisEndsAreDrawn) {
    // A window places a value's label by mapping it between these two positions; they must be
    // where the trace of that value is drawn. Axis 1 shares the plot, so the same holds for it.
    for (double level : {0.0, 100.0}) {
        ClockedChart c;
        c.chart.SetAxisRange(0, 0, 100);
        c.chart.SetSpan(100);
        c.chart.SetRightEdge(100);
        c.chart.AddXY(0, 0, level);
        c.chart.AddXY(0, 100, level);
        const std::vector<int> rows = Channel0Rows(Render(c.chart), 300);
        ASSERT_FALSE(rows.empty()) << level;
        const double drawn = (rows.front() + rows.back() + 1) / 2.0;
        const double expected =
            (level == 0 ? c.chart.AxisLabelLow() : c.chart.AxisLabelHigh()) * 300;
        EXPECT_NEAR(drawn, expected, 1.5) << level;
    }
    ClockedChart c;
    EXPECT_GT(c.chart.AxisLabelLow(), c.chart.AxisLabelHigh());
    EXPECT_GT(c.chart.AxisLabelHigh(), 0.0f);
    EXPECT_LT(c.chart.AxisLabelLow(), 1.0f);
}

TEST(StripChartLabels, CaptionsBelongToTheSelectedLabel) {
    ClockedChart c;
    for (int16_t l = 0; l < StripChart::kLabels; ++l) {
        c.chart.SelectLabel(l);
        c.chart.SetLabelCaption(QString("label %1").arg(l));
    }
    for (int16_t l = 0; l < StripChart::kLabels; ++l) {
        c.chart.SelectLabel(l);
        EXPECT_EQ(c.chart.LabelCaption(), QString("label %1").arg(l));
    }
    c.chart.SelectLabel(3);
    c.chart.SelectLabel(StripChart::kLabels);  // no such label: the selection stays
    c.chart.SelectLabel(-1);
    EXPECT_EQ(c.chart.LabelCaption(), "label 3");
}

TEST(StripChartLabels, HeadingIsTheLabelsCaption) {
    ClockedChart c;
    c.chart.SetLegendHeading(5, "Fan Speed (RPM)");
    c.chart.SelectLabel(5);
    EXPECT_EQ(c.chart.LabelCaption(), "Fan Speed (RPM)");
    c.chart.SetLegendHeading(StripChart::kLabels, "ignored");
}

TEST(StripChartLabels, PositionedAndHiddenLabelsPaint) {
    // Every legend member in use at once, with positions beyond the chart: painting must cope.
    ClockedChart c;
    c.chart.SetLegendTitle("Controlled By:");
    for (int16_t l = 0; l < StripChart::kLabels; ++l) {
        c.chart.SelectLabel(l);
        c.chart.SetLabelCaption("x");
        c.chart.SetLabelChannel(l % 2 ? l : -1);
        c.chart.SetLabelPosition(l * 0.2f - 0.5f);
        c.chart.SetLabelVisible(l % 3 != 0);
    }
    c.chart.SelectLabel(1);
    c.chart.SetLabelPosition(std::numeric_limits<float>::quiet_NaN());
    c.chart.SetLabelChannel(99);  // no such channel: shown without one
    EXPECT_EQ(Render(c.chart).size(), QSize(600, 300));
}

TEST(StripChartPaint, ALonePointShowsAsADot) {
    // An operating point is added twice at the same place; a polyline of it would draw nothing.
    ClockedChart c;
    c.chart.SetAxisRange(0, 0, 100);
    c.chart.SetSpan(100);
    c.chart.SetRightEdge(100);
    c.chart.AddXY(0, 50, 50);
    c.chart.AddXY(0, 50, 50);
    const QImage img = Render(c.chart);
    EXPECT_GT(Channel0PixelsIn(img, QRect(40, 100, 340, 100)), 4);
}

TEST(StripChartPaint, ThinningKeepsANarrowPeak) {
    // Thousands of points across a few hundred pixels: one spike must survive the thinning.
    ClockedChart c;
    c.chart.SetAxisRange(0, 0, 100);
    c.chart.SetSpan(4000);
    for (int i = 0; i < StripChart::kPointsPerChannel; ++i) {
        c.now += 1;
        c.chart.AppendValue(0, i == 2001 ? 95 : 5);
    }
    const int y95 = RowOf(c.chart, 95);
    EXPECT_GT(Channel0PixelsIn(Render(c.chart), QRect(50, y95 - 2, 450, 5)), 0);
}

TEST(StripChartPaint, PointsOutsideTheViewAndOfAnyMagnitudeDoNotBreakPainting) {
    ClockedChart c;
    const double huge = std::numeric_limits<double>::max();
    c.chart.AddXY(0, -huge, huge);
    c.chart.AddXY(0, huge, -huge);
    c.chart.AddXY(0, std::numeric_limits<double>::quiet_NaN(), 1);
    c.chart.AddXY(1, 1e300, 1);
    c.chart.AddXY(1, -1e300, 1);  // x goes back: an unordered channel
    Render(c.chart);
}

TEST(StripChartPaint, AHiddenChartDoesNotPaint) {
    struct Counter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Paint) ++paints;
            return false;
        }
    } counter;
    ClockedChart c;
    c.chart.installEventFilter(&counter);
    for (int i = 0; i < 100; ++i) {
        c.now += 0.05;
        c.chart.AppendValue(0, i);
        QApplication::processEvents();
    }
    EXPECT_EQ(counter.paints, 0);
    c.chart.show();
    QApplication::processEvents();
    const int shown = counter.paints;
    EXPECT_GE(shown, 1);
    for (int i = 0; i < 50; ++i) c.chart.AppendValue(0, i);  // one update, coalesced
    QApplication::processEvents();
    EXPECT_LE(counter.paints - shown, 1);
}

TEST(StripChartTime, AClockSetBackDoesNotSendPointsBehindTheOldOnes) {
    ClockedChart c;
    c.chart.AppendValue(0, 1);
    c.now += 100;
    c.chart.AppendValue(0, 1);
    c.now -= 3600;
    c.chart.AppendValue(0, 1);
    EXPECT_EQ(c.chart.RightEdge(), 100);
    c.now += 5;
    c.chart.AppendValue(0, 1);
    EXPECT_EQ(c.chart.RightEdge(), 105);
}

TEST(StripChartDrag, AChartFedForDaysCanStillBeScrolledBack) {
    // Past 32767 s the 16-bit right edge saturates; the view the user drags to must not.
    ClockedChart c;
    c.chart.SetAxisRange(0, 0, 100);
    c.chart.SetSpan(600);
    c.chart.AppendValue(0, 10);
    c.now += 2 * 86400;
    for (int i = 0; i < 700; ++i) {
        c.now += 1;
        c.chart.AppendValue(0, 50);
    }
    EXPECT_EQ(c.chart.RightEdge(), 32767);
    c.chart.DragRightEdgeBy(-20);
    const int y50 = RowOf(c.chart, 50);
    EXPECT_GT(Channel0PixelsIn(Render(c.chart), QRect(50, y50 - 2, 300, 5)), 0);
}

TEST(StripChartPaint, ARangeFarFromZeroPaintsInBoundedTime) {
    // The tick step there lies below the precision of the values.
    ClockedChart c;
    c.chart.SetAxisRange(0, 1e20, 1e20 + 65536);
    c.chart.SetAxisRange(1, -1e300, 1e300);
    c.chart.AddXY(0, 10, 1e20);
    Render(c.chart);
}

namespace {

// What the screen shows of the chart once its pending repaints are done.
QImage Shown(StripChart& chart) {
    QApplication::processEvents();
    return chart.screen()
        ->grabWindow(chart.winId())
        .toImage()
        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// The chart painted whole from its present state. A render at another pixel ratio comes first,
// so that nothing kept from earlier paints at this one can serve it.
QImage Fresh(StripChart& chart) {
    QImage other(chart.size() * 2, QImage::Format_ARGB32_Premultiplied);
    other.setDevicePixelRatio(2);
    chart.render(&other);
    QImage img(chart.size(), QImage::Format_ARGB32_Premultiplied);
    chart.render(&img);
    return img;
}

}  // namespace

TEST(StripChartRepaint, WhatIsShownAfterEachChangeIsTheWholeChartPaintedAfresh) {
    // The chart repaints only the parts a change can reach; any part a change reaches but the
    // repaint leaves out keeps stale pixels on the screen.
    ClockedChart c;
    c.chart.SetTimeFormat("%H:%M:%S");
    c.chart.SetLegendHeading(0, "Temperature");
    c.chart.SetChannelName(0, "Local");
    c.chart.SetChannelName(1, "Remote");
    c.chart.SetAxisRange(0, 0, 100);
    c.chart.show();
    // The screen first: painting afresh must not serve the screen's repaint.
    const QImage first = Shown(c.chart);
    ASSERT_EQ(first, Fresh(c.chart));
    auto feed = [&c](int seconds) {
        for (int i = 0; i < seconds * 10; ++i) {
            c.now += 0.1;
            c.chart.AppendValue(0, 50 + 30 * std::sin(c.now / 7));
            c.chart.AppendValue(1, 20);
        }
    };
    auto caption = [&c](int16_t label, const QString& text) {
        c.chart.SelectLabel(label);
        c.chart.SetLabelCaption(text);
    };
    const std::vector<std::pair<const char*, std::function<void()>>> changes = {
        {"values appended as time passes", [&] { feed(70); }},
        {"a value appended moves the time labels", [&] { feed(1); }},
        {"a caption as wide as the legend", [&] { caption(1, "Local = 50"); }},
        {"a caption wider than the legend moves the plot",
         [&] { caption(2, "Remote = 20 and a good deal more"); }},
        {"a shorter caption", [&] { caption(2, "Remote = 20"); }},
        {"a caption cleared shows the channel's name", [&] { caption(1, ""); }},
        {"the span", [&] { c.chart.SetSpan(30); }},
        {"the left edge dragged", [&] { c.chart.DragLeftEdgeBy(-40); }},
        {"the right edge dragged back", [&] { c.chart.DragRightEdgeBy(-50); }},
        {"the right edge set", [&] { c.chart.SetRightEdge(20); }},
        {"a range", [&] { c.chart.SetAxisRange(0, -50, 150); }},
        {"a second axis", [&] { c.chart.SetChannelAxis(1, 1); }},
        {"its range", [&] { c.chart.SetAxisRange(1, 0, 12000); }},
        {"a heading", [&] { c.chart.SetLegendHeading(3, "Fan Speed (RPM)"); }},
        {"a title", [&] { c.chart.SetLegendTitle("Controlled By:"); }},
        {"a channel's name", [&] { c.chart.SetChannelName(0, "Remote1"); }},
        {"a channel's colour", [&] { c.chart.SetChannelColour(1, QColor(0, 200, 0)); }},
        {"a label hidden", [&] { c.chart.SetLabelVisible(false); }},
        {"a label placed",
         [&] {
             caption(4, "placed");
             c.chart.SetLabelPosition(0.7f);
         }},
        {"a label's channel", [&] { c.chart.SetLabelChannel(5); }},
        {"the time format", [&] { c.chart.SetTimeFormat("%H %M %S"); }},
        {"the font", [&] { c.chart.setFont(QFont(c.chart.font().family(), 14)); }},
        {"the size", [&] { c.chart.resize(500, 260); }},
        {"values cleared", [&] { c.chart.ClearAll(); }},
    };
    for (const auto& [what, change] : changes) {
        change();
        const QImage shown = Shown(c.chart);
        EXPECT_EQ(shown, Fresh(c.chart)) << what;
    }
}
