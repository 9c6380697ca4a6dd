#include <gtest/gtest.h>

#include <QImage>

#include "platform/controls/Lamp.h"

using Controls::Lamp;

namespace {

QRgb Centre(Lamp& lamp) {
    QImage img(lamp.size(), QImage::Format_ARGB32);
    img.fill(Qt::white);
    lamp.render(&img);
    return img.pixel(lamp.height() / 2 + 1, lamp.height() / 2);
}

}  // namespace

TEST(Lamp, TrueIsRedAndFalseIsGreen) {
    Lamp lamp;
    lamp.resize(17, 12);
    EXPECT_FALSE(lamp.Value());
    const QRgb off = Centre(lamp);
    EXPECT_GT(qGreen(off), qRed(off) + 60);
    lamp.SetValue(true);
    EXPECT_TRUE(lamp.Value());
    const QRgb on = Centre(lamp);
    EXPECT_GT(qRed(on), qGreen(on) + 60);
}

TEST(Lamp, CaptionReadsBack) {
    Lamp lamp;
    lamp.SetCaption("Fan1");
    EXPECT_EQ(lamp.Caption(), "Fan1");
    EXPECT_GT(lamp.sizeHint().width(), 17);
}
