// The printer configuration against a real (private) cupsd with a Zebra ZPL queue.
#include <gtest/gtest.h>

#include "CupsdRig.h"
#include "print/CupsPrinterConfig.h"
#include "print/PaperForms.h"

namespace etiqo {
namespace {

using test::CupsdRig;

const std::string kQueue = CupsdRig::kQueue;

class PrinterConfigTest : public ::testing::Test {
protected:
    void SetUp() override { CupsdRig::ClearUserOptions(); }
    CupsPrinterConfig config;
};

TEST(PaperForms, NamesAndSizes) {
    EXPECT_EQ(CustomMediaName(50, 30), "Custom.50x30mm");
    EXPECT_EQ(PaperFormName(50, 30), "HPaper(50mm x 30mm)");
    struct Case {
        const char* media;
        PaperSizeMM mm;
        const char* shown;
    };
    const Case cases[] = {
        {"Custom.50x30mm", {50, 30}, "HPaper(50mm x 30mm)"},
        {"iso_a4_210x297mm", {210, 297}, "iso_a4_210x297mm"},
        {"A4", {210, 297}, "A4"},
        {"w144h72", {50, 25}, "w144h72"},  // 2 × 1 in: 50.8 × 25.4 mm, truncated as the spooler does
        {"custom_50.09x80.08mm_50.09x80.08mm", {50, 80}, "custom_50.09x80.08mm_50.09x80.08mm"},
        {"na_index-4x6_4x6in", {101, 152}, "na_index-4x6_4x6in"},
        {"thermal", {0, 0}, "thermal"},
        {"", {0, 0}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.media);
        EXPECT_EQ(ToWholeMM(MediaSizeOf(c.media)), c.mm);
        EXPECT_EQ(MediaDisplayName(c.media), c.shown);
    }
    EXPECT_EQ(MediaDescription("Custom.50x30mm"), "50 x 30 mm (HPaper(50mm x 30mm))");
    EXPECT_EQ(MediaDescription("thermal"), "");
    EXPECT_EQ(PwgMediaName("Custom.50x80mm"), "custom_50x80mm_50x80mm");
    EXPECT_EQ(PwgMediaName("iso_a4_210x297mm"), "iso_a4_210x297mm");
    EXPECT_TRUE(IsPaperOfSize({5009, 8008}, 50, 80));
    EXPECT_FALSE(IsPaperOfSize({5080, 2540}, 50, 25));  // 50.8 mm is not a 50 mm paper
    EXPECT_FALSE(IsPaperOfSize({4999, 3000}, 50, 30));
}

TEST_F(PrinterConfigTest, StoresPaperAndCopiesAsUserDefaultsLikeLpoptions) {
    ASSERT_TRUE(config.SetPrinterPaperSize(kQueue, 50, 30));
    EXPECT_EQ(config.GetPrinterPaperSize(kQueue), (PaperSizeMM{50, 30}));
    QString shown = CupsdRig::Lpoptions(QString::fromStdString(kQueue));
    EXPECT_TRUE(shown.contains(QStringLiteral("media=Custom.50x30mm"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("PageSize=Custom.50x30mm"))) << shown.toStdString();

    // A listed paper replaces the custom page size too.
    ASSERT_TRUE(config.SetPrinterPaperSize(kQueue, 50, 80));
    EXPECT_EQ(config.GetPrinterPaperSize(kQueue), (PaperSizeMM{50, 80}));
    shown = CupsdRig::Lpoptions(QString::fromStdString(kQueue));
    EXPECT_TRUE(shown.contains(QStringLiteral("media=custom_50.09x80.08mm"))) << shown.toStdString();
    EXPECT_FALSE(shown.contains(QStringLiteral("PageSize=Custom"))) << shown.toStdString();

    EXPECT_FALSE(config.SetPrinterPaperSize("no-such-printer", 50, 30));

    // Copies are stored only when they change: the same count again does not rewrite the file.
    ASSERT_TRUE(config.SetPrinterCopies(kQueue, 3));
    EXPECT_TRUE(CupsdRig::Lpoptions(QString::fromStdString(kQueue)).contains(QStringLiteral("copies=3")));

    CupsdRig::MarkUserOptions();
    ASSERT_TRUE(config.SetPrinterCopies(kQueue, 3));
    EXPECT_TRUE(CupsdRig::UserOptionsMarked());

    ASSERT_TRUE(config.SetPrinterCopies(kQueue, 1));
    EXPECT_FALSE(CupsdRig::UserOptionsMarked());
    EXPECT_TRUE(CupsdRig::Lpoptions(QString::fromStdString(kQueue)).contains(QStringLiteral("copies=1")));
    EXPECT_FALSE(config.SetPrinterCopies("no-such-printer", 2));
}

}  // namespace
}  // namespace etiqo
