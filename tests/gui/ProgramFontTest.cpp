// The font shipped beside the program replaces the system's, at the system's size, and only a
// usable font file does.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QTemporaryDir>

#include "base/qt/QtProgramFont.h"

namespace {

class ShippedFont : public ::testing::Test {
protected:
    void TearDown() override { QApplication::setFont(before_); }
    const QFont before_ = QApplication::font();
};

TEST_F(ShippedFont, TheFolderFontBecomesTheApplicationFontAtTheSameSize) {
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::copy(ORBISK_FONT_SERIF_FILE, dir.filePath("LiberationSerif-Regular.ttf")));

    ASSERT_TRUE(orbisk::UseShippedFont(dir.path()));
    const QFont font = QApplication::font();
    EXPECT_EQ(font.family(), "Liberation Serif");
    EXPECT_NE(before_.family(), "Liberation Serif");
    EXPECT_EQ(font.pointSizeF(), before_.pointSizeF());
}

TEST_F(ShippedFont, WithoutAUsableFontFileTheSystemFontStays) {
    QTemporaryDir empty;
    EXPECT_FALSE(orbisk::UseShippedFont(empty.path()));
    EXPECT_FALSE(orbisk::UseShippedFont(QDir(empty.path()).filePath("no-such-folder")));

    QTemporaryDir broken;
    QFile junk(broken.filePath("broken.ttf"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a font");
    junk.close();
    EXPECT_FALSE(orbisk::UseShippedFont(broken.path()));
    EXPECT_EQ(QApplication::font(), before_);
}

}  // namespace
